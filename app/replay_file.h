// Replay files: the start tick and, for every frame, the tick count and the input it saw.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/script/script_os.h"

namespace zorvex {

// The longest line a replay may hold, without its line break. Frame lines the game writes are
// under 40 bytes; the bound keeps a reader of any file, endless or not, to a fixed amount of
// memory.
constexpr std::size_t REPLAY_LINE_MAX = 256;

struct Replay {
  std::uint32_t start_tick = 0;
  std::vector<plat::script::FrameInput> frames;
};

// The line-by-line grammar of a replay. Every line goes through Line(); a reason is given as
// "line N: ..." in *error.
class ReplayParser {
 public:
  enum class Result { SKIPPED, FRAME, ERROR };
  Result Line(std::string_view line, plat::script::FrameInput* frame, std::string* error);
  // After the last line: false (with the reason) when the header or the start line is missing.
  bool Finish(std::string* error) const;
  std::uint32_t Start_Tick() const { return start_tick_; }
  bool Started() const { return state_ == State::FRAMES; }

 private:
  enum class State { HEADER, START, FRAMES } state_ = State::HEADER;
  std::size_t line_number_ = 0;
  std::uint32_t start_tick_ = 0;
};

// Parses a whole replay text. On error returns false with "line N: reason" in *error.
bool Parse_Replay(std::string_view text, Replay* out, std::string* error);

// Reads a replay file a line at a time, holding one line at most. A regular file is checked
// whole before the first frame, so that a malformed line stops the run before it starts; a
// pipe or device is read once, and a fault in it shows up at the frame that reaches it.
class ReplayReader {
 public:
  ReplayReader() = default;
  ReplayReader(const ReplayReader&) = delete;
  ReplayReader& operator=(const ReplayReader&) = delete;
  ~ReplayReader() { Close(); }

  // Opens the file and reads up to the start line. False with the reason in *error.
  bool Open(const std::string& path, std::string* error);
  void Close();
  std::uint32_t Start_Tick() const { return parser_.Start_Tick(); }
  // The next frame line. False at the end of the file, or with the reason in *error when the
  // file cannot be read or a line is malformed.
  bool Next(plat::script::FrameInput* frame, std::string* error);

 private:
  // The next line, without its break, cut at REPLAY_LINE_MAX + 2 bytes; false at the end of
  // the file (or with *error set when it cannot be read).
  bool Read_Line(std::string_view* line, std::string* error);

  std::FILE* file_ = nullptr;
  ReplayParser parser_;
  char line_[REPLAY_LINE_MAX + 2];
};

// A replay's lines as it is played: the header and start line, then a line a frame.
std::string Replay_Header_Text(std::uint32_t start_tick);
std::string Replay_Frame_Text(const plat::script::FrameInput& frame);

}  // namespace zorvex
