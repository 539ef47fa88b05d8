// Level generation: each level start builds a new wave from the generator's stream.
#pragma once

#include <cstdint>

namespace zorvex {

struct TileRect {
  std::int32_t sx, sy, w, h;
};

extern TileRect back_tile;

int Start_Level();

}  // namespace zorvex
