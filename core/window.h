// The game's one window and the instance that made it, set by WinMain.
#pragma once

#include "platform/win_types.h"

namespace zorvex {

extern plat::HWND main_window;
extern plat::HINSTANCE app_instance;

}  // namespace zorvex
