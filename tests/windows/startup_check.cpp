// The start-up failure table (tests/app/startup_steps.h) on the real Windows backend: each step
// made to fail through the fault layer put over real Win32, GDI, DirectDraw, DirectSound and
// DirectInput, in exclusive full screen as a player starts the game. One row a run, so that a
// crash is that row's alone. Built for Windows and run under Wine by startup_faults.sh:
//   zorvex-startup-check --rows        the number of rows
//   zorvex-startup-check DATA LOG N    row N (from 0): "FAIL: ..." for each check that failed,
//                                      then "ok: ..." with status 0 when none did
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/log.h"
#include "core/startup.h"
#include "gfx/display.h"
#include "input/input.h"
#include "platform/data_path.h"
#include "platform/test_double/fault_os.h"
#include "platform/win32/win32_os.h"
#include "sound/sound_manager.h"
#include "tests/app/startup_steps.h"
#include "tests/file_text.h"
#include "zorvex/game_loop.h"
#include "zorvex/win_main.h"

namespace zorvex::testing {
namespace {

std::string current_row;
int failures = 0;

void Check(bool ok, const std::string& what) {
  if (ok) return;
  std::printf("FAIL: %s: %s\n", current_row.c_str(), what.c_str());
  ++failures;
}

// The GDI objects the system made and the game has not deleted. It sits beneath the fault layer,
// so it counts only the calls that reached the system.
class GdiCount final : public plat::OsLayer {
 public:
  using OsLayer::OsLayer;
  int live = 0;

  plat::HGDIOBJ LoadImageA(plat::HINSTANCE instance, const char* name, std::uint32_t type, int cx,
                           int cy, std::uint32_t flags) override {
    return Made(inner().LoadImageA(instance, name, type, cx, cy, flags));
  }
  plat::HDC CreateCompatibleDC(plat::HDC dc) override {
    return Made(inner().CreateCompatibleDC(dc));
  }
  bool DeleteDC(plat::HDC dc) override { return Gone(inner().DeleteDC(dc)); }
  bool DeleteObject(plat::HGDIOBJ object) override { return Gone(inner().DeleteObject(object)); }

 private:
  template <class Handle>
  Handle Made(Handle handle) {
    live += handle != nullptr;
    return handle;
  }
  bool Gone(bool deleted) {
    live -= deleted;
    return deleted;
  }
};

int instance_tag;
plat::HINSTANCE Instance() { return reinterpret_cast<plat::HINSTANCE>(&instance_tag); }

bool Set_Up() { return Open_Game_Window(Instance()) && Setup_Game() == 1; }

// WinMain ends with status 1, the step's message and the halt message logged; nothing after the
// step is made and no frame is shown.
void Fatal(const Step& s, plat::test_double::FaultOs& faulty, const std::string& log) {
  faulty.faults().Fail(s.step, plat::DDERR_GENERIC, s.nth);
  // Were start-up to go on, the run ends before its first frame.
  Set_Run_Hooks({.before_frame = [] { return false; }});
  Check(WinMain(Instance(), nullptr, "", 1) == EXIT_STARTUP_FAILED, "start-up went on");
  const std::string expected = s.log.empty() ? "" : s.log + HALT;
  Check(File_Text(log) == expected, "the log says \"" + File_Text(log) + "\"");
  const std::string& failure = s.failure.empty() ? s.log : s.failure;
  Check(std::string(Startup_Failure()).rfind(failure, 0) == 0,
        std::string("the failure reported is \"") + Startup_Failure() + "\"");
  Check((lpddsgfx != nullptr) == s.sheet_made, "the first sheet");
  Check(lpddssys == nullptr && sound_manager == nullptr && lpdi == nullptr,
        "something after the step was made");
  Check(faulty.journal().Count("front.Flip") == 0, "a frame was shown");
}

// Start-up goes on with the failure logged; a frame runs on the title.
void Logged(const Step& s, plat::test_double::FaultOs& faulty, const std::string& log) {
  faulty.faults().Fail(s.step, plat::DIERR_GENERIC, s.nth);
  Check(Set_Up(), "start-up stopped");
  Check(File_Text(log) == s.log, "the log says \"" + File_Text(log) + "\"");
  Check((lpddclipper == nullptr) == s.log.empty(), "the clipper");
  Check((lpdimouse == nullptr) == (s.log.find(MOUSE) != std::string::npos), "the mouse");
  Run_Frame();
  Check(game_mode == MODE_TITLE, "the frame left the title");
}

// Start-up goes on, silently, without the sound the step hit.
void Sound(const SoundStep& s, plat::test_double::FaultOs& faulty, const std::string& log) {
  faulty.faults().Fail(s.step, plat::DSERR_GENERIC, s.nth);
  Check(Set_Up(), "start-up stopped");
  Check(faulty.faults().Empty(), "the step was never reached");
  Check(File_Text(log).empty(), "the log says \"" + File_Text(log) + "\"");
  Check(sound_manager && (sound_manager->Slot_Buffer(SLOT_MUSIC) != nullptr) == s.music_slot_filled,
        "the music");
  Check(lpdimouse != nullptr, "the mouse");
  Run_Frame();
  Check(game_mode == MODE_TITLE, "the frame left the title");
}

// Every row of the table, in order.
struct Row {
  std::string name;
  std::function<void(plat::test_double::FaultOs&, const std::string& log)> run;
};

std::vector<Row> Rows() {
  std::vector<Row> rows;
  auto name = [](const char* kind, const char* step, int nth) {
    return std::string(kind) + " " + step + " #" + std::to_string(nth);
  };
  for (const auto* table : {&WINDOW_STEPS, &DISPLAY_STEPS, &SHEET_STEPS}) {
    for (const Step& s : *table)
      rows.push_back(
          {name("fatal", s.step, s.nth), [&s](auto& f, auto& log) { Fatal(s, f, log); }});
  }
  for (const Step& s : LOGGED_STEPS)
    rows.push_back(
        {name("logged", s.step, s.nth), [&s](auto& f, auto& log) { Logged(s, f, log); }});
  for (const SoundStep& s : SOUND_STEPS)
    rows.push_back({name("sound", s.step, s.nth), [&s](auto& f, auto& log) { Sound(s, f, log); }});
  return rows;
}

int Run_Row(const Row& r, const std::string& data, const std::string& log) {
  std::unique_ptr<plat::Os> win32 = plat::win32::Make_Win32_Os({});
  GdiCount gdi(*win32);
  plat::test_double::FaultOs faulty(gdi);
  faulty.journal().Set_Enabled(true);
  plat::Use_Os(&faulty);
  plat::Set_Data_Dir(data);
  if (!Open_Log(log.c_str())) return std::printf("FAIL: cannot write %s\n", log.c_str()), 1;
  current_row = r.name;
  r.run(faulty, log);

  // Whatever start-up made, the program can release.
  Shutdown_Game();
  Release_Clipper();
  Check(faulty.Live_Objects() == 0,
        std::to_string(faulty.Live_Objects()) + " DirectX objects left unreleased");
  Check(gdi.live == 0, std::to_string(gdi.live) + " GDI objects left undeleted");
  Close_Log();
  plat::Use_Os(nullptr);
  if (!failures) std::printf("ok: %s\n", current_row.c_str());
  return failures ? 1 : 0;
}

}  // namespace
}  // namespace zorvex::testing

int main(int argc, char** argv) {
  using namespace zorvex::testing;
  _setmode(_fileno(stdout), _O_BINARY);
  const std::vector<Row> rows = Rows();
  if (argc == 2 && std::string(argv[1]) == "--rows") return std::printf("%zu\n", rows.size()) < 0;
  if (argc != 4) {
    std::fprintf(stderr, "usage: zorvex-startup-check --rows | DATA LOG ROW\n");
    return 2;
  }
  const std::size_t n = std::strtoul(argv[3], nullptr, 10);
  if (n >= rows.size()) return std::printf("FAIL: no row %s\n", argv[3]), 2;
  return Run_Row(rows[n], argv[1], argv[2]);
}
