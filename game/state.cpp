#include "game/state.h"

#include <algorithm>
#include <iterator>
#include <type_traits>

#include "gfx/background.h"
#include "input/input.h"

namespace zorvex {

std::int32_t score = 0;
std::int32_t lives = 0;
std::int32_t level = 0;
std::int32_t game_mode = MODE_TITLE;
Ball balls[BALL_COUNT];
Brick bricks[BRICK_COUNT];
Timer brick_timer;
SpriteRect ship;
Attachment attachments[ATTACHMENT_COUNT];
Attachment& gun = attachments[0];
Shot shots[SHOT_COUNT];
Timer fire_timer{0, 50};
int fire_latch = 0;
Timer intro_timer{0, 1000};
std::uint32_t rand_state = 1;

namespace {

// One list of the play state for both directions of the copy.
template <typename Copy, typename Move>
void Each_Global(Copy& c, Move move) {
  move(c.score, score);
  move(c.lives, lives);
  move(c.level, level);
  move(c.game_mode, game_mode);
  move(c.balls, balls);
  move(c.bricks, bricks);
  move(c.brick_timer, brick_timer);
  move(c.ship, ship);
  move(c.attachments, attachments);
  move(c.shots, shots);
  move(c.fire_timer, fire_timer);
  move(c.fire_latch, fire_latch);
  move(c.intro_timer, intro_timer);
  move(c.rand_state, rand_state);
  move(c.scroll_y, scroll_y);
  move(c.scroll_timer, scroll_timer);
  move(c.back_tile, back_tile);
  move(c.keys, keys);
  move(c.mouse_state, mouse_state);
  move(c.pointer_x, pointer_x);
}

template <typename T>
void Assign(T& to, const T& from) {
  if constexpr (std::is_array_v<T>)
    std::copy(std::begin(from), std::end(from), std::begin(to));
  else
    to = from;
}

}  // namespace

void Save_Play_State(Play_State_Copy* copy) {
  Each_Global(*copy, [](auto& saved, const auto& live) { Assign(saved, live); });
}

void Restore_Play_State(const Play_State_Copy& copy) {
  Each_Global(copy, [](const auto& saved, auto& live) { Assign(live, saved); });
}

void Reset_Play_State() {
  // Zero everywhere but for these, as at program start.
  static const Play_State_Copy fresh = [] {
    Play_State_Copy state{};
    state.game_mode = MODE_TITLE;
    state.fire_timer = Timer{0, 50};
    state.intro_timer = Timer{0, 1000};
    state.rand_state = 1;
    return state;
  }();
  Restore_Play_State(fresh);
}

}  // namespace zorvex
