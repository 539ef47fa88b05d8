// Start-up of the game and the per-frame step with its modes.
#pragma once

#include "game/state.h"

namespace zorvex {

int Setup_Game();
int Run_Frame();

}  // namespace zorvex
