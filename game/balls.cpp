#include "game/balls.h"

#include "core/arith.h"
#include "core/log.h"
#include "game/bricks.h"
#include "game/hit_test.h"
#include "game/level.h"
#include "game/modes.h"
#include "game/rng.h"
#include "game/ship.h"
#include "gfx/display.h"
#include "gfx/sprites.h"
#include "sound/sound_manager.h"

namespace zorvex {

namespace {

void Bounce_Off_Walls(Ball& ball) {
  if (ball.x < 0) {
    ball.x = 0;
    ball.vx = Wrap_Sub(0, ball.vx);
    Play_Sound(SLOT_WALL, 0);
  }
  if (ball.y < 0) {
    ball.y = 0;
    ball.vy = Wrap_Sub(0, ball.vy);
    Play_Sound(SLOT_WALL, 0);
  }
  if (Wrap_Add(ball.x, ball.w) > SCREEN_WIDTH) {
    ball.x = Wrap_Sub(SCREEN_WIDTH, ball.w);
    ball.vx = Wrap_Sub(0, ball.vx);
    Play_Sound(SLOT_WALL, 0);
  }
  if (Wrap_Add(ball.y, ball.h) > SCREEN_HEIGHT) ball.active = 0;  // lost, but still tested below
}

// Where the ball strikes the ship sets its new sideways speed; the old speed carries over in part.
void Bounce_Off_Ship(Ball& ball) {
  if (Rects_Overlap(ball.x, ball.y, ball.w, 1, ship.x, ship.y, ship.w, ship.h) != 1 ||
      ball.vy <= 0) {
    return;
  }
  ball.vy = Wrap_Sub(0, ball.vy);
  const std::int32_t offset = Wrap_Sub(ball.x, Wrap_Add(ship.x, ship.w / 2));
  ball.vx = Trunc_Int(static_cast<double>(offset / 6) + 0.35 * ball.vx);
  Play_Sound(SLOT_SHIP, 0);
}

void Hit_Brick(Ball& ball, Brick& brick) {
  if (rand() % 10 > 5) ball.vx = Wrap_Sub(0, ball.vx);
  ball.vy = Wrap_Sub(0, ball.vy);
  Play_Sound(SLOT_BRICK, 0);
  ++brick.hits;
  if (brick.hits < 3) {
    score = Wrap_Add(score, 5 + rand() % 5);
    return;
  }
  brick.hits = -1;
  score = Wrap_Add(score, 25 + rand() % 5);
  if (Count_Bricks() == 0) Start_Level();  // the rest of this loop sees the new wave
}

void Test_Bricks(Ball& ball) {
  Hit_Boxed_Bricks(ball, [&ball](Brick& brick) { Hit_Brick(ball, brick); });
}

void Serve_Or_End() {
  if (lives < 0) {
    Stop_Sound(SLOT_MUSIC, 1);
    game_mode = MODE_GAME_OVER;
    return;
  }
  --lives;
  if (rand() % 100 > 50) {
    New_Ball(0, 0, 8, 8, 224, 0, 5, 5);
  } else {
    New_Ball(SCREEN_WIDTH, 0, 8, 8, 224, 0, -5, 5);
  }
  Play_Sound(SLOT_SERVE, 0);
}

}  // namespace

int New_Ball(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t sx,
             std::int32_t sy, std::int32_t vx, std::int32_t vy) {
  for (Ball& ball : balls) {
    if (ball.active != 0) continue;
    ball = Ball{x, y, sx, sy, w, h, vx, vy, 1};
    return 1;
  }
  Log_Error("No Free Balls.");
  return 0;
}

int Move_Balls() {
  int in_play = 0;
  Box_Bricks();
  // Indexed, not ranged: a level started inside the loop may fill later slots, which then move.
  for (int i = 0; i < BALL_COUNT; ++i) {
    Ball& ball = balls[i];
    if (ball.active != 1) continue;
    ++in_play;  // a ball lost in this step still counts, so the serve comes one step later
    ball.x = Wrap_Add(ball.x, ball.vx);
    ball.y = Wrap_Add(ball.y, ball.vy);
    Bounce_Off_Walls(ball);
    Bounce_Off_Ship(ball);
    Test_Bricks(ball);
  }
  if (in_play == 0) Serve_Or_End();
  return 1;
}

int Draw_Balls() {
  for (const Ball& ball : balls) {
    if (ball.active != 0) {
      Blit_Sprite(lpddsback, ball.x, ball.y, ball.w, ball.h, ball.sx, ball.sy, lpddsgfx);
    }
  }
  return 1;
}

}  // namespace zorvex
