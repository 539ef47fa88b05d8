// The game modes; the play state itself is in game/state.h.
#pragma once

#include <cstdint>

#include "core/types.h"

namespace zorvex {

constexpr int MODE_TITLE = 0;
constexpr int MODE_PLAY = 1;
constexpr int MODE_INTRO = 2;
constexpr int MODE_GAME_OVER = 3;

}  // namespace zorvex
