// Bricks: up to seventy-five falling, weaving targets that take three hits each.
#pragma once

#include <cstdint>

#include "core/arith.h"
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
// The hit rule of balls and shots: a mover's bottom-right corner lies inside a live brick, at
// the brick's place truncated toward zero with its current frame's size. Box_Bricks truncates
// every brick's place once for a whole pass of movers (the shots', the balls'), and
// Hit_Boxed_Bricks tests one mover against them all, calling `hit` for each brick struck, in
// table order. A hit may change a brick's frame or start a new wave, so the boxes are taken
// again after each one.
void Box_Bricks();
template <typename Mover, typename Hit>
void Hit_Boxed_Bricks(const Mover& mover, Hit hit);
int Move_Bricks();
int Draw_Brick();

struct BrickBox {
  std::int32_t left, top, right, bottom;  // right and bottom: one past, wrapped as the test's sums
};
extern BrickBox brick_boxes[BRICK_COUNT];

template <typename Mover, typename Hit>
void Hit_Boxed_Bricks(const Mover& mover, Hit hit) {
  const std::int32_t corner_x = Wrap_Add(mover.x, mover.w);
  const std::int32_t corner_y = Wrap_Add(mover.y, mover.h);
  for (int i = 0; i < BRICK_COUNT; ++i) {
    const BrickBox& b = brick_boxes[i];
    if (b.left < corner_x && b.top < corner_y && corner_x < b.right && corner_y < b.bottom) {
      hit(bricks[i]);
      Box_Bricks();
    }
  }
}

}  // namespace zorvex
