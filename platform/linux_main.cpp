// The program's entry on Linux: reads the command line, picks the backend (an SDL2 window, or
// the headless one) and runs the game's own WinMain on it.
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/log.h"
#include "app/options.h"
#include "app/session.h"
#include "app/shell.h"
#include "app/startup.h"
#include "platform/data_path.h"
#include "platform/os.h"
#include "platform/sdl/sdl_host.h"
#include "platform/soft/soft_os.h"

namespace {

constexpr int EXIT_BAD_COMMAND_LINE = 2;
constexpr int EXIT_STARTUP_FAILED = 1;

bool Has_Sheet(const std::string& dir) {
  std::string path = dir.empty() ? "gfx.bmp" : dir + "/gfx.bmp";
  return access(path.c_str(), R_OK) == 0;
}

std::string Program_Dir() {
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (n <= 0) return ".";
  std::string exe(path, static_cast<std::size_t>(n));
  return exe.substr(0, exe.find_last_of('/'));
}

// The working directory first, as the game always did; then the data put beside the program.
std::string Choose_Data_Dir(const std::string& asked) {
  if (!asked.empty() || Has_Sheet("")) return asked;
  std::string beside = Program_Dir();
  for (const std::string& dir : {beside + "/data", beside + "/../share/zorvex"}) {
    if (Has_Sheet(dir)) return dir;
  }
  return "";
}

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "zorvex: %s\n", message.c_str());
  return code;
}

// The host's own messages go to the diagnostics log when one is open, else to standard error.
void Report(const char* text) {
  if (!zorvex::Log_Error("%s\n", text)) std::fprintf(stderr, "zorvex: %s\n", text);
}

std::unique_ptr<plat::soft::Host> Make_Host(const zorvex::Options& options) {
  if (options.headless) return plat::soft::Make_Headless_Host(!options.nosound);
  plat::sdl::SdlOptions sdl;
  sdl.window = options.window;
  sdl.scale = options.scale;
  sdl.nosound = options.nosound;
  sdl.volume = options.volume;
  sdl.report = Report;
  return plat::sdl::Make_Sdl_Host(sdl);
}

}  // namespace

int main(int argc, char** argv) {
  zorvex::Options options;
  std::string error;
  if (!zorvex::Parse_Options(argc, argv, &options, &error)) {
    return Fail(EXIT_BAD_COMMAND_LINE, error + " (zorvex --help lists the options)");
  }
  if (options.help) return std::fputs(zorvex::Usage_Text(), stdout) < 0;
  if (options.version) return std::fputs(zorvex::Version_Text(), stdout) < 0;

  plat::Set_Data_Dir(Choose_Data_Dir(options.data_dir));
  if (!options.log_path.empty() && !zorvex::Open_Log(options.log_path.c_str())) {
    return Fail(EXIT_BAD_COMMAND_LINE, "--log: cannot write " + options.log_path);
  }
  if (!zorvex::Begin_Session(options, &error)) return Fail(EXIT_BAD_COMMAND_LINE, error);

  std::unique_ptr<plat::soft::Host> host = Make_Host(options);
  if (!host) return Fail(EXIT_STARTUP_FAILED, "Could not open the display");
  std::unique_ptr<plat::Os> backend = plat::soft::Make_Soft_Os(std::move(host));
  plat::Use_Os(backend.get());

  static int instance_tag;
  int code = zorvex::WinMain(reinterpret_cast<plat::HINSTANCE>(&instance_tag), nullptr, "", 1);
  if (code == EXIT_STARTUP_FAILED && *zorvex::Startup_Failure()) {
    Fail(code, zorvex::Startup_Failure());
  }
  if (!zorvex::End_Session())
    code = Fail(EXIT_STARTUP_FAILED, "could not write the trace or recording");
  zorvex::Close_Log();
  plat::Use_Os(nullptr);
  return code;
}
