// Keyboard and mouse, polled once a frame, and the game's own horizontal pointer.
#pragma once

#include <cstdint>

#include "platform/dinput.h"

namespace zorvex {

extern plat::IDirectInput* lpdi;
extern plat::IDirectInputDevice* lpdikeyboard;
extern plat::IDirectInputDevice* lpdimouse;
extern std::uint8_t keys[256];
extern plat::DIMOUSESTATE mouse_state;
extern std::int32_t pointer_x;

void Init_Input();
void Poll_Input();

}  // namespace zorvex
