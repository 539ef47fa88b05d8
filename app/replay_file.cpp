#include "app/replay_file.h"

#include <sys/stat.h>

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
  // from_chars takes neither an empty text nor a leading '+'.
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *out);
  return ec == std::errc() && end == text.data() + text.size();
}

bool Parse_Flag(std::string_view text, bool* out) {
  *out = text == "1";
  return text == "0" || text == "1";
}

bool Fail(std::string* error, std::size_t line_number, const std::string& reason) {
  *error = "line " + std::to_string(line_number) + ": " + reason;
  return false;
}

bool Parse_Frame(const std::vector<std::string_view>& f, plat::script::FrameInput* frame,
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

ReplayParser::Result ReplayParser::Line(std::string_view line, plat::script::FrameInput* frame,
                                        std::string* error) {
  ++line_number_;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.size() > REPLAY_LINE_MAX) {
    Fail(error, line_number_, "longer than " + std::to_string(REPLAY_LINE_MAX) + " bytes");
    return Result::ERROR;
  }
  std::vector<std::string_view> fields = Split_Fields(line);
  if (fields.empty() || fields[0][0] == '#') return Result::SKIPPED;
  if (state_ == State::HEADER) {
    if (fields.size() != 2 || fields[0] != "ZORVEX-REPLAY" || fields[1] != "1") {
      Fail(error, line_number_, "expected the header '" + std::string(HEADER) + "'");
      return Result::ERROR;
    }
    state_ = State::START;
    return Result::SKIPPED;
  }
  if (state_ == State::START) {
    if (fields.size() != 2 || fields[0] != "start" || !Parse_Field(fields[1], &start_tick_)) {
      Fail(error, line_number_, "expected 'start <tick>' with a tick from 0 to 4294967295");
      return Result::ERROR;
    }
    state_ = State::FRAMES;
    return Result::SKIPPED;
  }
  std::string reason;
  if (!Parse_Frame(fields, frame, &reason)) {
    Fail(error, line_number_, reason);
    return Result::ERROR;
  }
  return Result::FRAME;
}

bool ReplayParser::Finish(std::string* error) const {
  const std::size_t last_line = line_number_ == 0 ? 1 : line_number_;
  if (state_ == State::HEADER) return Fail(error, last_line, "no header: the file is empty");
  if (state_ == State::START) return Fail(error, last_line, "no 'start <tick>' line");
  return true;
}

bool Parse_Replay(std::string_view text, Replay* out, std::string* error) {
  ReplayParser parser;
  std::vector<plat::script::FrameInput> frames;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    plat::script::FrameInput frame;
    ReplayParser::Result result = parser.Line(line, &frame, error);
    if (result == ReplayParser::Result::ERROR) return false;
    if (result == ReplayParser::Result::FRAME) frames.push_back(frame);
  }
  if (!parser.Finish(error)) return false;
  out->start_tick = parser.Start_Tick();
  out->frames = std::move(frames);
  return true;
}

bool ReplayReader::Open(const std::string& path, std::string* error) {
  Close();
  parser_ = ReplayParser{};
  error->clear();
  file_ = std::fopen(path.c_str(), "rb");
  if (!file_) {
    *error = "cannot open: " + std::string(std::strerror(errno));
    return false;
  }
  struct stat info {};
  const bool rereadable = fstat(fileno(file_), &info) == 0 && S_ISREG(info.st_mode);
  plat::script::FrameInput frame;
  if (rereadable) {
    // A first pass over the whole file, a line at a time: nothing starts on a malformed replay.
    while (Next(&frame, error)) {
    }
    if (!error->empty()) return false;
    if (std::fseek(file_, 0, SEEK_SET) != 0) {
      *error = "cannot read the file";
      return false;
    }
    parser_ = ReplayParser{};
  }
  // Up to the start line, so that the start tick is known before the game starts.
  while (!parser_.Started()) {
    std::string_view line;
    if (!Read_Line(&line, error)) return error->empty() ? parser_.Finish(error) : false;
    if (parser_.Line(line, &frame, error) == ReplayParser::Result::ERROR) return false;
  }
  return true;
}

void ReplayReader::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

bool ReplayReader::Next(plat::script::FrameInput* frame, std::string* error) {
  error->clear();
  if (!file_) return false;
  for (;;) {
    std::string_view line;
    if (!Read_Line(&line, error)) {
      if (error->empty()) parser_.Finish(error);
      return false;
    }
    switch (parser_.Line(line, frame, error)) {
      case ReplayParser::Result::FRAME:
        return true;
      case ReplayParser::Result::ERROR:
        return false;
      case ReplayParser::Result::SKIPPED:
        break;
    }
  }
}

bool ReplayReader::Read_Line(std::string_view* line, std::string* error) {
  std::size_t length = 0;
  int c = std::fgetc(file_);
  if (c == EOF) {
    if (std::ferror(file_)) *error = "cannot read the file";
    return false;
  }
  // One byte over the bound (two with a carriage return) is enough for the parser to refuse
  // the line; what follows it is never read.
  while (c != EOF && c != '\n' && length < sizeof line_) {
    line_[length++] = static_cast<char>(c);
    if (length < sizeof line_) c = std::fgetc(file_);
  }
  if (std::ferror(file_)) {
    *error = "cannot read the file";
    return false;
  }
  *line = std::string_view(line_, length);
  return true;
}

std::string Replay_Header_Text(std::uint32_t start_tick) {
  return std::string(HEADER) + "\nstart " + std::to_string(start_tick) + "\n";
}

std::string Replay_Frame_Text(const plat::script::FrameInput& frame) {
  char line[64];
  std::snprintf(line, sizeof line, "%u %d %d %d %d\n", static_cast<unsigned>(frame.tick),
                static_cast<int>(frame.dx), frame.lmb ? 1 : 0, frame.enter ? 1 : 0,
                frame.esc ? 1 : 0);
  return line;
}

}  // namespace zorvex
