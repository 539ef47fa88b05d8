// The program's entry on Windows: finds the data, picks the backend (real DirectX, or the
// headless one) and runs the game on it.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <memory>

#include "app/kept_games.h"
#include "app/kept_settings.h"
#include "app/options.h"
#include "app/program.h"
#include "core/log.h"
#include "platform/data_path.h"
#include "platform/soft/soft_os.h"
#include "platform/win32/win32_os.h"

namespace {

std::unique_ptr<plat::Os> Make_Backend(const zorvex::Options& options) {
  if (options.headless)
    return plat::soft::Make_Soft_Os(plat::soft::Make_Headless_Host(!options.nosound));
  plat::win32::Win32Options win;
  win.window = options.window;
  win.scale = options.scale;
  win.host.sound = !options.nosound;
  win.host.volume = options.volume;
  if (zorvex::Keeps_Settings(options)) win.host.remember = zorvex::Remember_Setting;
  win.host.sensitivity = options.sensitivity;
  if (options.stick == "position") win.host.stick = host::StickWay::POSITION;
  return plat::win32::Make_Win32_Os(win);
}

// The program's own messages go to the diagnostics log when one is open, else to standard error.
void Report(const char* text) {
  if (!zorvex::Log_Error("%s\n", text)) std::fprintf(stderr, "zorvex: %s\n", text);
}

}  // namespace

int main(int argc, char** argv) {
  plat::win32::Use_Parent_Console();
  // Lines end in \n as on every other platform, for the scripts that read them.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  zorvex::Options options;
  if (int code = zorvex::Read_Command_Line(argc, argv, &options); code >= 0) return code;
  if (int code = zorvex::Kept_Games_Command(&options); code >= 0) return code;
  plat::Set_Data_Dir(zorvex::Choose_Data_Dir(options.data_dir, plat::win32::Program_Dir()));
  zorvex::Choose_Keeping_Games(&options);
  if (int code = zorvex::Open_Session(options); code >= 0) return code;
  zorvex::Load_Settings(&options, Report);
  zorvex::Start_Keeping_Games(options, Report);
  return zorvex::Run_Program(Make_Backend(options));
}
