#include "app/entry.h"

#include <cstdio>

#include "app/log.h"
#include "app/session.h"
#include "app/shell.h"
#include "app/startup.h"
#include "platform/data_path.h"
#include "platform/soft/soft_os.h"

namespace zorvex {

namespace {
std::unique_ptr<plat::Os> backend;
int instance_tag;
}  // namespace

int Fail_Entry(int code, const std::string& message) {
  std::fprintf(stderr, "zorvex: %s\n", message.c_str());
  return code;
}

int Prepare_Entry(int argc, const char* const* argv, Options* options,
                  std::string (*choose_data_dir)(const std::string& asked)) {
  std::string error;
  if (!Parse_Options(argc, argv, options, &error)) {
    return Fail_Entry(EXIT_BAD_COMMAND_LINE, error + " (zorvex --help lists the options)");
  }
  if (options->help) return std::fputs(Usage_Text(), stdout) < 0;
  if (options->version) return std::fputs(Version_Text(), stdout) < 0;

  plat::Set_Data_Dir(choose_data_dir(options->data_dir));
  if (!options->log_path.empty() && !Open_Log(options->log_path.c_str())) {
    return Fail_Entry(EXIT_BAD_COMMAND_LINE, "--log: cannot write " + options->log_path);
  }
  if (!Begin_Session(*options, &error)) return Fail_Entry(EXIT_BAD_COMMAND_LINE, error);
  return GAME_RUNNING;
}

int Open_Backend(std::unique_ptr<plat::soft::Host> host) {
  if (!host) return Fail_Entry(EXIT_STARTUP_FAILED, "Could not open the display");
  backend = plat::soft::Make_Soft_Os(std::move(host));
  plat::Use_Os(backend.get());
  return GAME_RUNNING;
}

plat::HINSTANCE Entry_Instance() { return reinterpret_cast<plat::HINSTANCE>(&instance_tag); }

int Finish_Entry(int code) {
  if (code == EXIT_STARTUP_FAILED && *Startup_Failure()) Fail_Entry(code, Startup_Failure());
  if (!End_Session())
    code = Fail_Entry(EXIT_STARTUP_FAILED, "could not write the trace or recording");
  Close_Log();
  plat::Use_Os(nullptr);
  backend.reset();
  return code;
}

}  // namespace zorvex
