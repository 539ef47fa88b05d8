// The program's entry on Windows: real DirectX under the seam, or the headless backend.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "app/program.h"
#include "platform/soft/soft_os.h"
#include "platform/win32/win32_os.h"

int main(int argc, char** argv) {
  plat::win32::Use_Parent_Console();
  // Lines end in \n as on every other platform, for the scripts that read them.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  zorvex::Platform platform;
  platform.program_dir = plat::win32::Program_Dir();
  platform.make_os = [](const zorvex::Options& options) -> std::unique_ptr<plat::Os> {
    if (options.headless)
      return plat::soft::Make_Soft_Os(plat::soft::Make_Headless_Host(!options.nosound));
    plat::win32::Win32Options win;
    win.window = options.window;
    win.scale = options.scale;
    win.nosound = options.nosound;
    return plat::win32::Make_Win32_Os(win);
  };
  return zorvex::Run_Program(argc, argv, platform);
}
