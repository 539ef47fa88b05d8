// The play state: every global the rules read and change, in one place. Setup_Game and the
// frame step change them; traces write them down; Reset_Play_State puts them back.
// Six of them belong to the layers below and are declared there (the background's scroll and
// tile, the input's keys, mouse and pointer); they are on the list with the rest.
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

// The play state, listed once, in the order a trace writes it:
//   X(where, type, name, array size, trace key, trace form, initial value)
// where is GAME for the globals declared here and BELOW for those the layers below keep and
// declare (gfx/background.h, input/input.h). The list makes the declarations below, the
// definitions, PlayStateCopy with its save and restore, Reset_Play_State and the trace line
// (app/trace.cpp, where each form is a Trace_ function). A key of nullptr leaves the global out of
// traces: the replay holds the input, intro_timer shows in the mode, and a timer that paces a
// traced value is written beside it, in that value's array (fire, scroll).
// clang-format off
#define ZORVEX_PLAY_STATE(X)                                                                       \
  X(GAME, std::int32_t, game_mode, , "mode", Int, {MODE_TITLE})   /* game/modes.h */               \
  X(GAME, std::int32_t, level, , "level", Int, {0})               /* the wave, 1 for the first */  \
  X(GAME, std::int32_t, score, , "score", Int, {0})               /* 10 points a brick */          \
  X(GAME, std::int32_t, lives, , "lives", Int, {0})               /* 0: on the last ball */        \
  X(BELOW, std::int32_t, pointer_x, , "pointer", Int, {})                                          \
  X(BELOW, std::uint8_t, keys, [256], nullptr, Untraced, {})                                       \
  X(BELOW, plat::DIMOUSESTATE, mouse_state, , nullptr, Untraced, {})                               \
  X(GAME, SpriteRect, ship, , "ship", At_X, {})                  /* position and sprite */         \
  X(GAME, Attachment, attachments, [ATTACHMENT_COUNT], "gun", Gun, {})  /* 0 is the gun */         \
  X(GAME, int, fire_latch, , "fire", Fire, {0})                   /* 1: button down since up */    \
  X(GAME, Timer, fire_timer, , nullptr, Untraced, {0, 50})            /* the fire check, 50 ms */      \
  X(GAME, Timer, brick_timer, , "bricktick", Tick, {})            /* steps bricks, 30 ms */        \
  X(GAME, Timer, intro_timer, , nullptr, Untraced, {0, 1000})     /* the announcement */           \
  X(BELOW, double, scroll_y, , "scroll", Scroll, {})                                               \
  X(BELOW, Timer, scroll_timer, , nullptr, Untraced, {})                                           \
  X(BELOW, TileRect, back_tile, , "tile", Rect, {})                                                \
  X(GAME, std::uint32_t, rand_state, , "rng", Int, {1})           /* the generator */              \
  X(GAME, Ball, balls, [BALL_COUNT], "balls", Balls, {})          /* active 1 in play */           \
  X(GAME, Shot, shots, [SHOT_COUNT], "shots", Shots, {})          /* the gun's shots */            \
  X(GAME, Brick, bricks, [BRICK_COUNT], "bricks", Bricks, {})     /* hits -1: a free slot */
// clang-format on

// Expands to its arguments for the globals declared here, to nothing for those below.
#define ZORVEX_IF_GAME(...) __VA_ARGS__
#define ZORVEX_IF_BELOW(...)

#define ZORVEX_PLAY_STATE_EXTERN(where, type, name, size, ...) \
  ZORVEX_IF_##where(extern type name size;)
ZORVEX_PLAY_STATE(ZORVEX_PLAY_STATE_EXTERN)
#undef ZORVEX_PLAY_STATE_EXTERN

extern Attachment& gun;  // attachment 0

// Every play-state global at one moment, here and in the layers below (the benchmarks replay
// one moment many times).
struct PlayStateCopy {
#define ZORVEX_PLAY_STATE_MEMBER(where, type, name, size, ...) type name size;
  ZORVEX_PLAY_STATE(ZORVEX_PLAY_STATE_MEMBER)
#undef ZORVEX_PLAY_STATE_MEMBER
};

void Save_Play_State(PlayStateCopy* copy);
void Restore_Play_State(const PlayStateCopy& copy);

// Puts every play-state global, here and in the layers below, back to its value at program
// start, as a fresh program has it (tests, the soak and the benchmarks run many games in one
// process).
void Reset_Play_State();

}  // namespace zorvex
