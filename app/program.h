// What every entry point does around the game: the command line, the data folder, the log, the
// session, the one line on standard error when start-up fails, and the exit status.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/options.h"
#include "platform/os.h"

namespace zorvex {

struct Platform {
  std::string program_dir;  // where the data put beside the program is looked for
  // The backend for these options; null when no display can be had.
  std::function<std::unique_ptr<plat::Os>(const Options&)> make_os;
};

int Run_Program(int argc, const char* const* argv, const Platform& platform);

}  // namespace zorvex
