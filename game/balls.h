// Balls: up to fifteen in play, each stepping by its own speed every play frame.
#pragma once

#include <cstdint>

namespace zorvex {

constexpr int BALL_COUNT = 15;

struct Ball {
  std::int32_t x, y, sx, sy, w, h;
  std::int32_t vx, vy;
  std::int32_t active;
};

extern Ball balls[BALL_COUNT];

int New_Ball(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t sx,
             std::int32_t sy, std::int32_t vx, std::int32_t vy);
int Move_Balls();
int Draw_Balls();

}  // namespace zorvex
