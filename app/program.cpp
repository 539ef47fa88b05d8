#include "app/program.h"

#include <cstdio>

#include "app/session.h"
#include "core/log.h"
#include "core/startup.h"

namespace zorvex {

namespace {

int instance_tag;
std::unique_ptr<plat::Os> backend_in_use;

plat::HINSTANCE Instance() { return reinterpret_cast<plat::HINSTANCE>(&instance_tag); }

// Once the run is over with `code`: says why start-up failed, closes the session and the log and
// drops the backend.
int Finish_Program(int code) {
  Set_Run_End(nullptr);
  if (code == EXIT_STARTUP_FAILED && *Startup_Failure()) Fail_Program(code, Startup_Failure());
  if (!End_Session())
    code = Fail_Program(EXIT_STARTUP_FAILED, "could not write every file asked for");
  if (!Session_Replay_Error().empty())
    code =
        Fail_Program(EXIT_BAD_COMMAND_LINE, Session_Replay_Path() + ": " + Session_Replay_Error());
  Close_Log();
  plat::Use_Os(nullptr);
  backend_in_use.reset();
  return code;
}

bool Use_Backend(std::unique_ptr<plat::Os> backend) {
  if (!backend) return false;
  backend_in_use = std::move(backend);
  plat::Use_Os(backend_in_use.get());
  Set_Run_End(Finish_Program);
  return true;
}

}  // namespace

int Fail_Program(int code, const std::string& message) {
  std::fprintf(stderr, "zorvex: %s\n", message.c_str());
  return code;
}

int Open_Session(const Options& options) {
  if (!options.log_path.empty() && !Open_Log(options.log_path.c_str()))
    return Fail_Program(EXIT_BAD_COMMAND_LINE, "--log: cannot write " + options.log_path);
  std::string error;
  if (!Begin_Session(options, &error)) return Fail_Program(EXIT_BAD_COMMAND_LINE, error);
  return -1;
}

int Run_Program(std::unique_ptr<plat::Os> backend) {
  if (!Use_Backend(std::move(backend)))
    return Fail_Program(EXIT_STARTUP_FAILED, "Could not open the display");
  return WinMain(Instance(), nullptr, "", 1);
}

int Start_Program(std::unique_ptr<plat::Os> backend) {
  if (!Use_Backend(std::move(backend)))
    return Fail_Program(EXIT_STARTUP_FAILED, "Could not open the display");
  return Start_Game(Instance());
}

}  // namespace zorvex
