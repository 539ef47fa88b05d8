// zorvex-tracediff EXPECTED ACTUAL: compares two traces line by line and names the first frame
// and field where they part. Exit 0 when equal, 1 when they differ, 2 when a file is unreadable.
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Fields = std::vector<std::pair<std::string_view, std::string_view>>;

// Splits one flat JSON object into its top-level keys and raw values.
Fields Top_Level_Fields(std::string_view line) {
  Fields fields;
  std::size_t i = line.find('{');
  if (i == std::string_view::npos) return fields;
  ++i;
  while (i < line.size()) {
    std::size_t key_start = line.find('"', i);
    if (key_start == std::string_view::npos) break;
    std::size_t key_end = line.find('"', key_start + 1);
    std::size_t colon = line.find(':', key_end);
    if (key_end == std::string_view::npos || colon == std::string_view::npos) break;
    std::size_t value_start = colon + 1;
    int depth = 0;
    bool in_string = false;
    std::size_t j = value_start;
    for (; j < line.size(); ++j) {
      char c = line[j];
      if (in_string) {
        if (c == '\\')
          ++j;
        else if (c == '"')
          in_string = false;
      } else if (c == '"') {
        in_string = true;
      } else if (c == '[' || c == '{') {
        ++depth;
      } else if ((c == ']' || c == '}') && depth > 0) {
        --depth;
      } else if ((c == ',' || c == '}') && depth == 0) {
        break;
      }
    }
    fields.emplace_back(line.substr(key_start + 1, key_end - key_start - 1),
                        line.substr(value_start, j - value_start));
    i = j + 1;
  }
  return fields;
}

std::string Shorten(std::string_view text) {
  constexpr std::size_t LIMIT = 400;
  if (text.size() <= LIMIT) return std::string(text);
  return std::string(text.substr(0, LIMIT)) + "...";
}

int Report_Line(std::size_t line_number, const std::string& expected, const std::string& actual) {
  Fields want = Top_Level_Fields(expected);
  Fields got = Top_Level_Fields(actual);
  std::string_view frame = want.empty() ? "?" : want[0].second;
  for (std::size_t k = 0; k < want.size() || k < got.size(); ++k) {
    std::string_view key = k < want.size() ? want[k].first : got[k].first;
    std::string_view w = k < want.size() ? want[k].second : "(missing)";
    std::string_view g = k < got.size() ? got[k].second : "(missing)";
    if (k < want.size() && k < got.size() && want[k].first != got[k].first) g = "(other key)";
    if (w == g) continue;
    std::printf("line %zu, frame %.*s: field \"%.*s\" differs\n  expected %s\n  actual   %s\n",
                line_number, static_cast<int>(frame.size()), frame.data(),
                static_cast<int>(key.size()), key.data(), Shorten(w).c_str(), Shorten(g).c_str());
    return 1;
  }
  std::printf("line %zu differs in layout only\n", line_number);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: zorvex-tracediff EXPECTED ACTUAL\n");
    return 2;
  }
  std::ifstream expected(argv[1]);
  std::ifstream actual(argv[2]);
  if (!expected || !actual) {
    std::fprintf(stderr, "zorvex-tracediff: cannot read %s\n", !expected ? argv[1] : argv[2]);
    return 2;
  }
  std::string want;
  std::string got;
  std::size_t line_number = 0;
  for (;;) {
    bool have_want = static_cast<bool>(std::getline(expected, want));
    bool have_got = static_cast<bool>(std::getline(actual, got));
    ++line_number;
    if (!have_want && !have_got) break;
    if (have_want != have_got) {
      std::printf("line %zu: the %s trace ends first\n", line_number,
                  have_want ? "actual" : "expected");
      return 1;
    }
    if (want != got) return Report_Line(line_number, want, got);
  }
  std::printf("traces match (%zu lines)\n", line_number - 1);
  return 0;
}
