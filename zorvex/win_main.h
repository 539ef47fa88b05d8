// The program's entry point, its one window, the message loop and shutdown.
#pragma once

#include <cstdint>

#include "core/tick.h"
#include "core/window.h"
#include "platform/os.h"

namespace zorvex {

// Start-up failed: the program says why and exits with this, not with success.
constexpr int EXIT_STARTUP_FAILED = 1;

int WinMain(plat::HINSTANCE instance, plat::HINSTANCE previous, const char* command_line, int show);
plat::LRESULT WindowProc(plat::HWND window, std::uint32_t message, plat::WPARAM wp,
                         plat::LPARAM lp);
int Shutdown_Game();
// Registers the window class and makes the game window, setting main_window and app_instance;
// false (with the reason remembered) when it cannot. WinMain starts with it; so do tools that
// call Setup_Game themselves.
bool Open_Game_Window(plat::HINSTANCE instance = nullptr);

// WinMain in steps, for hosts whose own event loop calls the game once a frame: Start_Game
// (window and Setup_Game), then Message_Pass until it stops returning GAME_RUNNING. Once the run
// is over (start-up failed, or the loop ended and Shutdown_Game ran) each returns the exit
// status, as the run's end hook makes it.
constexpr int GAME_RUNNING = -1;
int Start_Game(plat::HINSTANCE instance);
int Message_Pass();

// What drives a run besides the game itself (replays, recordings, traces; see app/session.h)
// steps in here; a hook left null does nothing.
struct RunHooks {
  void (*before_setup)() = nullptr;
  void (*after_setup)() = nullptr;   // after a successful Setup_Game
  bool (*before_frame)() = nullptr;  // false ends the run as a quit does
  void (*after_frame)() = nullptr;
};
void Set_Run_Hooks(const RunHooks& hooks);
// Called once the run is over with WinMain's exit status; returns the status to exit with.
using RunEnd = int (*)(int exit_code);
void Set_Run_End(RunEnd end);

}  // namespace zorvex
