// Balls: up to fifteen in play, each stepping by its own speed every play frame.
#pragma once

#include <cstdint>

#include "game/state.h"

namespace zorvex {

int New_Ball(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t sx,
             std::int32_t sy, std::int32_t vx, std::int32_t vy);
int Move_Balls();
int Draw_Balls();

}  // namespace zorvex
