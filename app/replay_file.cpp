#include "app/replay_file.h"

#include <cerrno>
#include <charconv>
#include <cstring>

namespace zorvex {

namespace {

constexpr std::string_view HEADER = "ZORVEX-REPLAY 1";
constexpr std::size_t FRAME_FIELDS = 5;

std::vector<std::string_view> Split_Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

template <typename T>
bool Parse_Field(std::string_view text, T* out) {
  if (text.empty() || text[0] == '+') return false;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *out);
  return ec == std::errc() && end == text.data() + text.size();
}

bool Parse_Flag(std::string_view text, bool* out) {
  if (text == "0" || text == "1") {
    *out = text == "1";
    return true;
  }
  return false;
}

bool Fail(std::string* error, std::size_t line_number, const std::string& reason) {
  *error = "line " + std::to_string(line_number) + ": " + reason;
  return false;
}

bool Parse_Frame(const std::vector<std::string_view>& f, plat::FrameInput* frame,
                 std::string* reason) {
  if (f.size() != FRAME_FIELDS) {
    *reason = "a frame line has " + std::to_string(FRAME_FIELDS) + " fields, this one has " +
              std::to_string(f.size());
    return false;
  }
  if (!Parse_Field(f[0], &frame->tick))
    *reason = "tick '" + std::string(f[0]) + "'";
  else if (!Parse_Field(f[1], &frame->dx))
    *reason = "dx '" + std::string(f[1]) + "'";
  else if (!Parse_Flag(f[2], &frame->lmb))
    *reason = "lmb '" + std::string(f[2]) + "'";
  else if (!Parse_Flag(f[3], &frame->enter))
    *reason = "enter '" + std::string(f[3]) + "'";
  else if (!Parse_Flag(f[4], &frame->esc))
    *reason = "esc '" + std::string(f[4]) + "'";
  else
    return true;
  *reason = "bad " + *reason +
            " (tick: 0 to 4294967295, dx: a signed 32-bit number, lmb/enter/esc: 0 or 1)";
  return false;
}

}  // namespace

bool Parse_Replay(std::string_view text, Replay* out, std::string* error) {
  Replay replay;
  enum { WANT_HEADER, WANT_START, FRAMES } state = WANT_HEADER;
  std::size_t line_number = 0;
  std::size_t last_line = 1;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++line_number;
    last_line = line_number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::vector<std::string_view> fields = Split_Fields(line);
    if (fields.empty() || fields[0][0] == '#') continue;
    if (state == WANT_HEADER) {
      if (fields.size() != 2 || fields[0] != "ZORVEX-REPLAY" || fields[1] != "1")
        return Fail(error, line_number, "expected the header '" + std::string(HEADER) + "'");
      state = WANT_START;
    } else if (state == WANT_START) {
      if (fields.size() != 2 || fields[0] != "start" || !Parse_Field(fields[1], &replay.start_tick))
        return Fail(error, line_number, "expected 'start <tick>' with a tick from 0 to 4294967295");
      state = FRAMES;
    } else {
      plat::FrameInput frame;
      std::string reason;
      if (!Parse_Frame(fields, &frame, &reason)) return Fail(error, line_number, reason);
      replay.frames.push_back(frame);
    }
  }
  if (state == WANT_HEADER) return Fail(error, last_line, "no header: the file is empty");
  if (state == WANT_START) return Fail(error, last_line, "no 'start <tick>' line");
  *out = std::move(replay);
  return true;
}

bool Read_Replay_File(const std::string& path, Replay* out, std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    *error = "cannot open: " + std::string(std::strerror(errno));
    return false;
  }
  std::string text;
  char chunk[65536];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof(chunk), file)) > 0) text.append(chunk, got);
  bool read_failed = std::ferror(file) != 0;
  std::fclose(file);
  if (read_failed) {
    *error = "cannot read the file";
    return false;
  }
  return Parse_Replay(text, out, error);
}

void Write_Replay_Header(std::FILE* file, std::uint32_t start_tick) {
  std::fprintf(file, "%.*s\nstart %u\n", static_cast<int>(HEADER.size()), HEADER.data(),
               static_cast<unsigned>(start_tick));
}

void Write_Replay_Frame(std::FILE* file, const plat::FrameInput& frame) {
  std::fprintf(file, "%u %d %d %d %d\n", static_cast<unsigned>(frame.tick),
               static_cast<int>(frame.dx), frame.lmb ? 1 : 0, frame.enter ? 1 : 0,
               frame.esc ? 1 : 0);
}

}  // namespace zorvex
