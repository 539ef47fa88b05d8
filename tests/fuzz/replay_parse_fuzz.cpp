// Feeds any text to the replay parser. A text it accepts must survive a round trip through the
// writer unchanged; a text it refuses must be refused with the line that is at fault.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/replay_file.h"
#include "tests/fuzz/harness.h"

namespace {

std::string Written(const zorvex::Replay& replay) {
  std::string text = zorvex::Replay_Header_Text(replay.start_tick);
  for (const plat::script::FrameInput& frame : replay.frames)
    text += zorvex::Replay_Frame_Text(frame);
  return text;
}

bool Same(const plat::script::FrameInput& a, const plat::script::FrameInput& b) {
  return a.tick == b.tick && a.dx == b.dx && a.lmb == b.lmb && a.enter == b.enter && a.esc == b.esc;
}

std::size_t Line_Count(std::string_view text) {
  return std::count(text.begin(), text.end(), '\n') + 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  zorvex::Replay replay;
  replay.start_tick = 12345;  // a refused text must leave this as it was
  std::string error;
  if (!zorvex::Parse_Replay(text, &replay, &error)) {
    Check(replay.start_tick == 12345 && replay.frames.empty(), "a refused text changed the result");
    Check(error.rfind("line ", 0) == 0, "an error without its line");
    const unsigned long line = std::strtoul(error.c_str() + 5, nullptr, 10);
    Check(line >= 1 && line <= Line_Count(text), "an error naming a line the text lacks");
    return 0;
  }
  Check(replay.frames.size() <= Line_Count(text), "more frames than lines");
  zorvex::Replay again;
  std::string again_error;
  Check(zorvex::Parse_Replay(Written(replay), &again, &again_error), "own output refused");
  Check(again.start_tick == replay.start_tick, "start tick changed in a round trip");
  Check(again.frames.size() == replay.frames.size(), "frame count changed in a round trip");
  for (std::size_t i = 0; i < replay.frames.size(); ++i)
    Check(Same(again.frames[i], replay.frames[i]), "a frame changed in a round trip");
  return 0;
}
