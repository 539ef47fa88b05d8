// The play state: every global the rules read and change, in one place. Setup_Game and the
// frame step change them; traces write them down; Reset_Play_State puts them back.
// Three more belong to the layers below and are declared there: the background's scroll_y,
// scroll_timer and back_tile (gfx/background.h), and the input's keys, mouse_state and
// pointer_x (input/input.h). Reset_Play_State resets those too.
#pragma once

#include <cstdint>

#include "game/modes.h"
#include "gfx/background.h"
#include "platform/dinput.h"

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

// Every play-state global at one moment, here and in the layers below (the benchmarks replay
// one moment many times).
struct Play_State_Copy {
  std::int32_t score, lives, level, game_mode;
  Ball balls[BALL_COUNT];
  Brick bricks[BRICK_COUNT];
  Timer brick_timer;
  SpriteRect ship;
  Attachment attachments[ATTACHMENT_COUNT];
  Shot shots[SHOT_COUNT];
  Timer fire_timer;
  int fire_latch;
  Timer intro_timer;
  std::uint32_t rand_state;
  double scroll_y;
  Timer scroll_timer;
  TileRect back_tile;
  std::uint8_t keys[256];
  plat::DIMOUSESTATE mouse_state;
  std::int32_t pointer_x;
};
void Save_Play_State(Play_State_Copy* copy);
void Restore_Play_State(const Play_State_Copy& copy);

// Puts every play-state global, here and in the layers below, back to its value at program
// start, as a fresh program has it (tests, the soak and the benchmarks run many games in one
// process).
void Reset_Play_State();

}  // namespace zorvex
