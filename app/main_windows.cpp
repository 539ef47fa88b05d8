// The program's entry on Windows: finds the data, picks the backend (real DirectX, or the
// headless one) and runs the game on it.
#include <fcntl.h>
#include <io.h>

#include <memory>
#include <string>

#include "app/entry.h"
#include "app/program.h"
#include "platform/soft/soft_os.h"
#include "platform/win32/win32_os.h"

namespace {

std::string Data_Dir(const std::string& asked) {
  return zorvex::Choose_Data_Dir(asked, plat::win32::Program_Dir());
}

std::unique_ptr<plat::Os> Make_Backend(const zorvex::Options& options) {
  if (options.headless)
    return plat::soft::Make_Soft_Os(plat::soft::Make_Headless_Host(!options.nosound));
  plat::win32::Win32Options win;
  win.window = options.window;
  win.scale = options.scale;
  win.host = zorvex::Host_Options(options, nullptr);
  return plat::win32::Make_Win32_Os(win);
}

}  // namespace

int main(int argc, char** argv) {
  plat::win32::Use_Parent_Console();
  // Lines end in \n as on every other platform, for the scripts that read them.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  zorvex::Options options;
  if (int code = zorvex::Prepare_Run(argc, argv, Data_Dir, zorvex::Report, &options); code >= 0)
    return code;
  return zorvex::Run_Program(Make_Backend(options));
}
