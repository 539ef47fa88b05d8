// What every program entry does around the game: the command line, the log, the session, the
// backend on the host the entry chose, and the exit status with its one line on standard error.
#pragma once

#include <memory>
#include <string>

#include "app/options.h"
#include "platform/os.h"
#include "platform/soft/host.h"

namespace zorvex {

constexpr int EXIT_STARTUP_FAILED = 1;
constexpr int EXIT_BAD_COMMAND_LINE = 2;

// Writes "zorvex: MESSAGE" to standard error and returns `code`.
int Fail_Entry(int code, const std::string& message);

// Reads the command line, answers --help and --version, sets the data folder (what
// `choose_data_dir` makes of --data), opens the log and the session. Returns GAME_RUNNING
// when the game should start, otherwise the exit status.
int Prepare_Entry(int argc, const char* const* argv, Options* options,
                  std::string (*choose_data_dir)(const std::string& asked));

// Puts the soft backend over `host` (null: the display could not be opened). GAME_RUNNING, or
// the exit status.
int Open_Backend(std::unique_ptr<plat::soft::Host> host);

// The instance handle to pass to WinMain or Start_Game.
plat::HINSTANCE Entry_Instance();

// After the game has returned `code`: reports a start-up failure, closes the session and the
// log, and drops the backend. Returns the exit status.
int Finish_Entry(int code);

}  // namespace zorvex
