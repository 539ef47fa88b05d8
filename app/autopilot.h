// The built-in pilot: it reads the game and answers with the input a player would give.
// It never changes the game's state, so a recording of its game replays like any other.
#pragma once

#include <cstdint>

#include "platform/script/script_os.h"

namespace zorvex {

void Reset_Autopilot();
// The pilot's input for the next frame (the tick is left to the caller).
plat::script::FrameInput Autopilot_Input();

}  // namespace zorvex
