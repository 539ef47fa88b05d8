// Types and counters the whole play field shares.
#pragma once

#include <cstdint>

namespace zorvex {

constexpr int SCREEN_WIDTH = 640;
constexpr int SCREEN_HEIGHT = 480;

constexpr int MODE_TITLE = 0;
constexpr int MODE_PLAY = 1;
constexpr int MODE_INTRO = 2;
constexpr int MODE_GAME_OVER = 3;

// A screen position and a same-sized rectangle on a sprite sheet.
struct SpriteRect {
  std::int32_t x, y, sx, sy, w, h;
};

// A millisecond timer: run out when (now - tick) reaches interval, in unsigned arithmetic,
// so a wrap of the tick count does no harm.
struct Timer {
  std::uint32_t tick;
  std::uint32_t interval;
};

extern std::int32_t score;
extern std::int32_t lives;
extern std::int32_t level;
extern std::int32_t game_mode;

}  // namespace zorvex
