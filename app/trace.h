// Trace files: one JSON object of game state per frame.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace zorvex {

// The state after a frame (or after start-up, frame 0) as one line, newline included.
std::string Trace_Line(std::uint64_t frame, std::uint32_t tick);

}  // namespace zorvex
