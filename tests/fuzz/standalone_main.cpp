// Runs a fuzz target over files without libFuzzer, so ordinary and sanitizer builds replay the
// seed corpus and the kept findings as a test: every file given, and every file in every
// directory given.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  int files = 0;
  for (int i = 1; i < argc; ++i) {
    std::vector<fs::path> paths{argv[i]};
    if (fs::is_directory(paths[0])) paths.assign(fs::directory_iterator(argv[i]), {});
    for (const fs::path& path : paths) {
      if (fs::is_directory(path)) continue;
      std::ifstream in(path, std::ios::binary);
      const std::string text{std::istreambuf_iterator<char>(in), {}};
      if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
      }
      // An exact-size copy, so that a read past the end is a read past the allocation.
      const std::vector<std::uint8_t> exact(text.begin(), text.end());
      LLVMFuzzerTestOneInput(exact.empty() ? nullptr : exact.data(), exact.size());
      ++files;
    }
  }
  std::printf("%d inputs run\n", files);
  return files > 0 ? 0 : 1;
}
