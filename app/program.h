// What every entry point shares: the command line, the session around the game and the exit
// statuses. An entry point adds only what its system decides: where the data is and which
// backend the game runs on.
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

// Reads the command line. Returns -1 to go on, or the exit status (after --help, --version or
// a bad command line, with the message printed).
int Read_Command_Line(int argc, char** argv, Options* options);

// The data folder for --data ASKED: the folder asked for; else the working directory when it
// holds the sheet, as the game always did; else the data put beside the program
// (PROGRAM_DIR/data, PROGRAM_DIR/../share/zorvex).
std::string Choose_Data_Dir(const std::string& asked, const std::string& program_dir);

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
