#include "game/bricks.h"

#include "core/arith.h"
#include "core/log.h"
#include "core/tick.h"
#include "game/hit_test.h"
#include "gfx/display.h"
#include "gfx/sprites.h"

namespace zorvex {

double sin_table[SIN_TABLE_SIZE];

namespace {

// The level generator keeps weaving bricks within the table; a brick placed elsewhere by any
// other caller reads the nearest entry instead of memory beyond the table.
double Weave_Speed(double y) {
  std::int32_t index = Trunc_Int(y);
  if (index < 0) index = 0;
  if (index >= SIN_TABLE_SIZE) index = SIN_TABLE_SIZE - 1;
  return sin_table[index];
}

void Step_Brick(Brick& brick) {
  const SpriteRect& frame = brick.frames[brick.hits];
  if (brick.motion == MOTION_WEAVE) brick.dx = Weave_Speed(brick.y);
  brick.x += brick.dx;
  brick.y += 1.0;
  // Strict tests: a brick exactly at the limit stays there for one more step.
  if (brick.y > frame.h + 416.0) brick.y = 0.0;
  if (brick.x > frame.w + 640.0) brick.x = 0.0;
}

}  // namespace

// sin(0) to sin(19), correctly rounded. Held as constants rather than computed: C libraries
// differ in the last bit for some of these angles, and a weave that differs by a bit replays
// differently.
const double WHOLE_RADIAN_SINES[WHOLE_RADIAN_SINE_COUNT] = {
    0x0p+0,
    0x1.aed548f090ceep-1,
    0x1.d18f6ead1b446p-1,
    0x1.210386db6d55bp-3,
    -0x1.837b9dddc1eaep-1,
    -0x1.eaf81f5e09933p-1,
    -0x1.1e1f18ab0a2cp-2,
    0x1.50608c26d0a08p-1,
    0x1.fa8d2a028cf7bp-1,
    0x1.a6026360c2f91p-2,
    -0x1.1689ef5f34f52p-1,
    -0x1.fffeb762e93ebp-1,
    -0x1.12b9af7d765a5p-1,
    0x1.ae4044881c506p-2,
    0x1.fb30e327c5e45p-1,
    0x1.4cf2871cec2e8p-1,
    -0x1.26d02085f20f8p-2,
    -0x1.ec3c4ac42882bp-1,
    -0x1.8081668131e26p-1,
    0x1.32f2d28f584cfp-3,
};

void Build_Sin_Table() {
  // Whole-radian steps, each held for 25 rows.
  for (int i = 0; i < SIN_TABLE_SIZE; ++i) sin_table[i] = WHOLE_RADIAN_SINES[i / 25];
}

int New_Brick(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t sx,
              std::int32_t sy, std::int32_t motion) {
  for (Brick& brick : bricks) {
    if (brick.hits >= 0) continue;
    brick.hits = 0;
    brick.motion = motion;
    brick.dx = 0.0;
    for (std::int32_t k = 0; k < 3; ++k) {
      brick.frames[k] = SpriteRect{x, y, sx, Wrap_Add(sy, Wrap_Mul(k, h)), w, h};
    }
    brick.x = x;
    brick.y = y;
    // Kept quirk: 0 for a brick placed and 1 for a full table, the reverse of New_Ball.
    return 0;
  }
  Log_Error("no bricks %d", -1);
  return 1;
}

int Count_Bricks() {
  int count = 0;
  for (const Brick& brick : bricks) {
    if (brick.hits >= 0) ++count;
  }
  return count;
}

BrickBox brick_boxes[BRICK_COUNT];

void Box_Bricks() {
  for (int i = 0; i < BRICK_COUNT; ++i) {
    const Brick& brick = bricks[i];
    BrickBox& box = brick_boxes[i];
    if (brick.hits < 0) {
      box = BrickBox{0, 0, 0, 0};  // no corner is both past 0 and short of it
      continue;
    }
    const SpriteRect& frame = brick.frames[brick.hits];
    box.left = Trunc_Int(brick.x);
    box.top = Trunc_Int(brick.y);
    box.right = Wrap_Add(box.left, frame.w);
    box.bottom = Wrap_Add(box.top, frame.h);
  }
}

int Move_Bricks() {
  const std::uint32_t now = Stamp_Tick();
  if (now - brick_timer.tick < brick_timer.interval) return 0;
  brick_timer.tick = now;  // restamp to the present: a slow frame never catches up
  for (Brick& brick : bricks) {
    if (brick.hits >= 0) Step_Brick(brick);
  }
  return 0;
}

int Draw_Brick() {
  for (const Brick& brick : bricks) {
    if (brick.hits < 0) continue;
    const SpriteRect& f = brick.frames[brick.hits];
    if (Blit_Sprite(lpddsback, Trunc_Int(brick.x), Trunc_Int(brick.y), f.w, f.h, f.sx, f.sy,
                    lpddsgfx) == 0) {
      Log_Error(" Draw_Brick Blt Err");
    }
  }
  return 1;
}

}  // namespace zorvex
