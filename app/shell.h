// Entry point, window, message loop and shutdown.
#pragma once

#include <cstdint>

#include "core/tick.h"
#include "core/window.h"
#include "platform/os.h"

namespace zorvex {

int WinMain(plat::HINSTANCE instance, plat::HINSTANCE previous, const char* command_line, int show);
plat::LRESULT WindowProc(plat::HWND window, std::uint32_t message, plat::WPARAM wp,
                         plat::LPARAM lp);
int Shutdown_Game();
// Registers the window class and makes the game window, setting main_window and app_instance;
// false (with the reason remembered) when it cannot. WinMain starts with it; so do tools that
// call Setup_Game themselves.
bool Open_Game_Window(plat::HINSTANCE instance = nullptr);

}  // namespace zorvex
