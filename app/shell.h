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

// WinMain in steps, for hosts whose own event loop calls the game once a frame: Start_Game
// (window and Setup_Game), Message_Pass until it stops returning GAME_RUNNING, then
// Shutdown_Game unless start-up failed. Both return the exit status once the run is over.
constexpr int GAME_RUNNING = -1;
int Start_Game(plat::HINSTANCE instance);
int Message_Pass();

}  // namespace zorvex
