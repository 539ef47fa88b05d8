// Records every layer of the game draws and times with.
#pragma once

#include <cstdint>

#include "platform/ddraw.h"

namespace zorvex {

using plat::SCREEN_HEIGHT;
using plat::SCREEN_WIDTH;

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

}  // namespace zorvex
