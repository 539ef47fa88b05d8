// Entry point, window, message loop and shutdown.
#pragma once

#include <cstdint>

#include "platform/os.h"

namespace zorvex {

extern plat::HWND main_window;
extern plat::HINSTANCE app_instance;

int WinMain(plat::HINSTANCE instance, plat::HINSTANCE previous, const char* command_line, int show);
plat::LRESULT WindowProc(plat::HWND window, std::uint32_t message, plat::WPARAM wp,
                         plat::LPARAM lp);
int Shutdown_Game();

// WinMain in steps, for hosts whose own event loop calls the game once a frame: Start_Game
// (window and Setup_Game), Message_Pass until it stops returning GAME_RUNNING, then
// Shutdown_Game unless start-up failed. Both return the exit status once the run is over.
constexpr int GAME_RUNNING = -1;
int Start_Game(plat::HINSTANCE instance);
int Message_Pass();

// The millisecond tick count: every clock read of the game goes through here.
std::uint32_t Stamp_Tick();

}  // namespace zorvex
