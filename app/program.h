// What runs the game on a backend: the session around it and the exit statuses.
#pragma once

#include <memory>
#include <string>

#include "app/options.h"
#include "platform/os.h"
#include "zorvex/win_main.h"

namespace zorvex {

// The exit statuses: EXIT_STARTUP_FAILED (1) is WinMain's own (zorvex/win_main.h).
constexpr int EXIT_QUIT = 0;
constexpr int EXIT_BAD_COMMAND_LINE = 2;

// Prints "zorvex: message" on standard error and returns code.
int Fail_Program(int code, const std::string& message);

// Opens the log, the replay, the trace and the recording the options name. Returns -1 to go
// on, or the exit status.
int Open_Session(const Options& options);

// Runs the game (WinMain) on the backend (null: the display could not be opened); once the run
// is over the session, the log and the backend are closed. Returns the exit status.
int Run_Program(std::unique_ptr<plat::Os> backend);
// The same in steps, for a host whose own event loop calls for every frame (the browser): WinMain's
// own steps, Start_Program (the backend, then Start_Game), then Message_Pass until it stops
// returning GAME_RUNNING.
int Start_Program(std::unique_ptr<plat::Os> backend);

}  // namespace zorvex
