// The program's entry on Linux: reads the command line, picks the backend (an SDL2 window, or
// the headless one) and runs the game's own WinMain on it.
#include <unistd.h>

#include <memory>
#include <string>

#include "app/entry.h"
#include "app/shell.h"
#include "platform/sdl/sdl_host.h"
#include "platform/soft/soft_os.h"

namespace {

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

std::unique_ptr<plat::soft::Host> Make_Host(const zorvex::Options& options) {
  if (options.headless) return plat::soft::Make_Headless_Host(!options.nosound);
  plat::sdl::SdlOptions sdl;
  sdl.window = options.window;
  sdl.scale = options.scale;
  sdl.nosound = options.nosound;
  return plat::sdl::Make_Sdl_Host(sdl);
}

}  // namespace

int main(int argc, char** argv) {
  zorvex::Options options;
  int code = zorvex::Prepare_Entry(argc, argv, &options, Choose_Data_Dir);
  if (code != zorvex::GAME_RUNNING) return code;
  code = zorvex::Open_Backend(Make_Host(options));
  if (code != zorvex::GAME_RUNNING) return code;
  code = zorvex::WinMain(zorvex::Entry_Instance(), nullptr, "", 1);
  return zorvex::Finish_Entry(code);
}
