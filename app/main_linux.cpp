// The program's entry on Linux: finds the data, picks the backend (an SDL2 window, or the
// headless one) and runs the game on it.
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/kept_games.h"
#include "app/kept_settings.h"
#include "app/options.h"
#include "app/program.h"
#include "core/log.h"
#include "platform/data_path.h"
#include "platform/sdl/sdl_host.h"
#include "platform/soft/soft_os.h"

namespace {

std::string Program_Dir() {
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (n <= 0) return ".";
  std::string exe(path, static_cast<std::size_t>(n));
  return exe.substr(0, exe.find_last_of('/'));
}

// The host's own messages go to the diagnostics log when one is open, else to standard error.
void Report(const char* text) {
  if (!zorvex::Log_Error("%s\n", text)) std::fprintf(stderr, "zorvex: %s\n", text);
}

std::unique_ptr<plat::Os> Make_Backend(const zorvex::Options& options) {
  std::unique_ptr<plat::soft::Host> host;
  if (options.headless) {
    host = plat::soft::Make_Headless_Host(!options.nosound);
  } else {
    plat::sdl::SdlOptions sdl;
    sdl.window = options.window;
    sdl.scale = options.scale;
    sdl.nosound = options.nosound;
    sdl.volume = options.volume;
    sdl.sensitivity = options.sensitivity;
    sdl.stick_position = options.stick == "position";
    sdl.report = Report;
    if (zorvex::Keeps_Settings(options)) sdl.remember = zorvex::Remember_Setting;
    sdl.scale_gives_way = zorvex::Scale_Restored();
    if (options.present == "gpu") sdl.present = plat::sdl::PresentWay::GPU;
    if (options.present == "surface") sdl.present = plat::sdl::PresentWay::SURFACE;
    host = plat::sdl::Make_Sdl_Host(sdl);
  }
  if (!host) return nullptr;
  return plat::soft::Make_Soft_Os(std::move(host));
}

}  // namespace

int main(int argc, char** argv) {
  zorvex::Options options;
  if (int code = zorvex::Read_Command_Line(argc, argv, &options); code >= 0) return code;
  if (int code = zorvex::Kept_Games_Command(&options); code >= 0) return code;
  plat::Set_Data_Dir(zorvex::Choose_Data_Dir(options.data_dir, Program_Dir()));
  zorvex::Choose_Keeping_Games(&options);
  if (int code = zorvex::Open_Session(options); code >= 0) return code;
  zorvex::Load_Settings(&options, Report);
  zorvex::Start_Keeping_Games(options, Report);
  return zorvex::Run_Program(Make_Backend(options));
}
