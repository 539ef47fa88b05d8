// Replay files: the start tick and, for every frame, the tick count and the input it saw.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os.h"

namespace zorvex {

struct Replay {
  std::uint32_t start_tick = 0;
  std::vector<plat::FrameInput> frames;
};

// Parses a whole replay text. On error returns false with "line N: reason" in *error.
bool Parse_Replay(std::string_view text, Replay* out, std::string* error);
bool Read_Replay_File(const std::string& path, Replay* out, std::string* error);

// Writes a replay as it is played: the header and start line, then a line a frame.
void Write_Replay_Header(std::FILE* file, std::uint32_t start_tick);
void Write_Replay_Frame(std::FILE* file, const plat::FrameInput& frame);

}  // namespace zorvex
