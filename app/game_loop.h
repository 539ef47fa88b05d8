// Start-up of the game and the per-frame step with its modes.
#pragma once

#include "game/types.h"

namespace zorvex {

extern Timer fire_timer;
extern int fire_latch;
extern Timer intro_timer;

int Setup_Game();
int Run_Frame();

}  // namespace zorvex
