// The program's entry on Linux: finds the data, picks the backend (an SDL2 window, or the
// headless one) and runs the game on it.
#include <filesystem>
#include <memory>
#include <string>

#include "app/entry.h"
#include "app/kept_settings.h"
#include "app/program.h"
#include "platform/sdl/sdl_host.h"
#include "platform/soft/soft_os.h"

namespace {

std::string Program_Dir() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? "." : exe.parent_path().string();
}

std::string Data_Dir(const std::string& asked) {
  return zorvex::Choose_Data_Dir(asked, Program_Dir());
}

std::unique_ptr<plat::Os> Make_Backend(const zorvex::Options& options) {
  std::unique_ptr<plat::soft::Host> host;
  if (options.headless) {
    host = plat::soft::Make_Headless_Host(!options.nosound);
  } else {
    plat::sdl::SdlOptions sdl;
    sdl.window = options.window;
    sdl.scale = options.scale;
    sdl.host = zorvex::Host_Options(options, zorvex::Report);
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
  if (int code = zorvex::Prepare_Run(argc, argv, Data_Dir, zorvex::Report, &options); code >= 0)
    return code;
  return zorvex::Run_Program(Make_Backend(options));
}
