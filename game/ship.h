// The ship, its attachments (the gun is attachment 0) and the shots.
#pragma once

#include <cstdint>

#include "game/state.h"

namespace zorvex {

// 1 when a shot was fired: the button seen down at a check after having been seen up at one.
int Fire_Check();
int Move_Ship();
int Draw_Ship();
int New_Shot(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t sx,
             std::int32_t sy, std::int32_t vx, std::int32_t vy);

}  // namespace zorvex
