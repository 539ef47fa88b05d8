// Bricks: up to seventy-five falling, weaving targets that take three hits each.
#pragma once

#include <cstdint>

#include "game/state.h"

namespace zorvex {

constexpr int SIN_TABLE_SIZE = 480;

constexpr int WHOLE_RADIAN_SINE_COUNT = (SIN_TABLE_SIZE + 24) / 25;
extern const double WHOLE_RADIAN_SINES[WHOLE_RADIAN_SINE_COUNT];
extern double sin_table[SIN_TABLE_SIZE];

void Build_Sin_Table();
int New_Brick(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t sx,
              std::int32_t sy, std::int32_t motion);
int Count_Bricks();
// 1 when a mover's bottom-right corner lies inside a live brick: the hit rule of balls and
// shots, tested against the brick's position truncated toward zero and its current frame.
int Hits_Brick(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, const Brick& brick);
int Move_Bricks();
int Draw_Brick();

}  // namespace zorvex
