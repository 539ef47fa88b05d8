// What every entry point does around the game: reads the command line, finds the data, reads the
// settings and keeps the best games. An entry point adds only what its system decides: where the
// data is and which backend the game runs on.
#pragma once

#include <string>

#include "app/options.h"
#include "host/host_layer.h"

namespace zorvex {

// The data folder for --data ASKED: the folder asked for; else the working directory when it
// holds the sheet, as the game always did; else the data put beside the program
// (PROGRAM_DIR/data, PROGRAM_DIR/../share/zorvex).
std::string Choose_Data_Dir(const std::string& asked, const std::string& program_dir);

// Before the backend is made: reads the command line (the message printed after --help,
// --version or a bad one), answers --scores and --watch, sets the data folder that `data_dir`
// makes of --data's value (empty when not given), opens the session, reads the settings and
// starts keeping the best games, with warnings to `report`. Returns -1 to go on, or the exit
// status.
int Prepare_Run(int argc, char** argv, std::string (*data_dir)(const std::string& asked),
                void (*report)(const char* text), Options* options);

// A message of the program's or the host's: to the diagnostics log when one is open, else to
// standard error.
void Report(const char* text);

// The host layer's options as the command line and the settings give them, with its messages to
// `report` (null: standard error). The platform adds where it keeps pictures.
host::HostOptions Host_Options(const Options& options, void (*report)(const char* text));

}  // namespace zorvex
