// The play state: every global the rules read and change, in one place. Setup_Game and the
// frame step change them; traces write them down; Reset_Play_State puts them back.
// Three more belong to the layers below and are declared there: the background's scroll_y,
// scroll_timer and back_tile (gfx/background.h), and the input's keys, mouse_state and
// pointer_x (input/input.h). Reset_Play_State resets those too.
#pragma once

#include <cstdint>

#include "game/types.h"

namespace zorvex {

constexpr int BALL_COUNT = 15;

struct Ball {
  std::int32_t x, y, sx, sy, w, h;
  std::int32_t vx, vy;
  std::int32_t active;
};

constexpr int BRICK_COUNT = 75;
constexpr int MOTION_FALL = 0;
constexpr int MOTION_WEAVE = 1;

struct Brick {
  SpriteRect frames[3];
  double x, y, dx;
  std::int32_t motion;
  std::int32_t hits;  // -1 free, else hits taken
};

constexpr int ATTACHMENT_COUNT = 16;
constexpr int SHOT_COUNT = 50;

struct Attachment {
  std::int32_t offx, offy;
  SpriteRect frames[2][5];  // [state][animf]
  std::uint32_t tick;
  std::uint32_t interval;
  std::int32_t animf;
  std::int32_t state;  // -1 inactive, 0 idle, 1 firing
};

struct Shot {
  std::int32_t x, y, sx, sy, w, h;
  std::int32_t vx, vy;
  std::int32_t active;  // 1 in flight, 0 left the screen, -1 spent on a brick
};

extern std::int32_t score;      // points: 10 a brick
extern std::int32_t lives;      // lives left; the game is over when the last ball is lost at 0
extern std::int32_t level;      // the wave in play, 1 for the first
extern std::int32_t game_mode;  // MODE_TITLE, MODE_PLAY, MODE_INTRO or MODE_GAME_OVER

extern Ball balls[BALL_COUNT];                    // the balls; active 1 in play
extern Brick bricks[BRICK_COUNT];                 // the wave; hits -1 marks a free slot
extern Timer brick_timer;                         // steps the bricks every 30 ms
extern SpriteRect ship;                           // the ship: position and sprite
extern Attachment attachments[ATTACHMENT_COUNT];  // parts fixed to the ship; only the gun is used
extern Attachment& gun;                           // attachment 0
extern Shot shots[SHOT_COUNT];                    // the gun's shots
extern Timer fire_timer;                          // the fire check looks at the button every 50 ms
extern int fire_latch;            // 1 while the button has been seen down since it was up
extern Timer intro_timer;         // the level announcement's second (tick 0: not started)
extern std::uint32_t rand_state;  // the generator; 1 when the program starts

// Puts every play-state global, here and in the layers below, back to its value at program
// start, as a fresh program has it (tests, the soak and the benchmarks run many games in one
// process).
void Reset_Play_State();

}  // namespace zorvex
