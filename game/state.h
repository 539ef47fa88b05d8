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

// The play state, listed once: X(type, name, array size, initial value). The list makes the
// declarations below, the definitions, PlayStateCopy with its save and restore, and
// Reset_Play_State. A new global also needs a decision in the trace writer (app/trace.cpp), which
// counts the list.
// clang-format off
#define ZORVEX_PLAY_STATE(X)                                                                       \
  X(std::int32_t, score, , {0})      /* points: 10 a brick */                                      \
  X(std::int32_t, lives, , {0})      /* lives left; the game is over when the last ball is lost    \
                                        at 0 */                                                    \
  X(std::int32_t, level, , {0})      /* the wave in play, 1 for the first */                       \
  X(std::int32_t, game_mode, , {MODE_TITLE})  /* MODE_TITLE, MODE_PLAY, MODE_INTRO or              \
                                                 MODE_GAME_OVER */                                 \
  X(Ball, balls, [BALL_COUNT], {})   /* the balls; active 1 in play */                             \
  X(Brick, bricks, [BRICK_COUNT], {})  /* the wave; hits -1 marks a free slot */                   \
  X(Timer, brick_timer, , {})        /* steps the bricks every 30 ms */                            \
  X(SpriteRect, ship, , {})          /* the ship: position and sprite */                           \
  X(Attachment, attachments, [ATTACHMENT_COUNT], {})  /* parts fixed to the ship; only the gun     \
                                                         (attachment 0) is used */                 \
  X(Shot, shots, [SHOT_COUNT], {})   /* the gun's shots */                                         \
  X(Timer, fire_timer, , {0, 50})    /* the fire check looks at the button every 50 ms */          \
  X(int, fire_latch, , {0})          /* 1 while the button has been seen down since it was up */   \
  X(Timer, intro_timer, , {0, 1000}) /* the level announcement's second (tick 0: not started) */   \
  X(std::uint32_t, rand_state, , {1})  /* the generator; 1 when the program starts */

// The play state the layers below keep and declare (gfx/background.h, input/input.h): copied and
// reset with the rest.
#define ZORVEX_PLAY_STATE_BELOW(X)                                                                 \
  X(double, scroll_y, , {})                                                                        \
  X(Timer, scroll_timer, , {})                                                                     \
  X(TileRect, back_tile, , {})                                                                     \
  X(std::uint8_t, keys, [256], {})                                                                 \
  X(plat::DIMOUSESTATE, mouse_state, , {})                                                         \
  X(std::int32_t, pointer_x, , {})
// clang-format on

#define ZORVEX_PLAY_STATE_EXTERN(type, name, size, ...) extern type name size;
ZORVEX_PLAY_STATE(ZORVEX_PLAY_STATE_EXTERN)
#undef ZORVEX_PLAY_STATE_EXTERN

extern Attachment& gun;  // attachment 0

// Every play-state global at one moment, here and in the layers below (the benchmarks replay
// one moment many times).
struct PlayStateCopy {
#define ZORVEX_PLAY_STATE_MEMBER(type, name, size, ...) type name size;
  ZORVEX_PLAY_STATE(ZORVEX_PLAY_STATE_MEMBER)
  ZORVEX_PLAY_STATE_BELOW(ZORVEX_PLAY_STATE_MEMBER)
#undef ZORVEX_PLAY_STATE_MEMBER
};

#define ZORVEX_PLAY_STATE_ONE(type, name, size, ...) +1
// How many globals the play state has, here and below.
constexpr int PLAY_STATE_GLOBALS =
    0 ZORVEX_PLAY_STATE(ZORVEX_PLAY_STATE_ONE) ZORVEX_PLAY_STATE_BELOW(ZORVEX_PLAY_STATE_ONE);
#undef ZORVEX_PLAY_STATE_ONE

void Save_Play_State(PlayStateCopy* copy);
void Restore_Play_State(const PlayStateCopy& copy);

// Puts every play-state global, here and in the layers below, back to its value at program
// start, as a fresh program has it (tests, the soak and the benchmarks run many games in one
// process).
void Reset_Play_State();

}  // namespace zorvex
