#include "play_field_fixture.h"

#include <unistd.h>

#include <cstdio>

#include "core/log.h"
#include "game/bricks.h"
#include "game/state.h"
#include "gfx/background.h"
#include "gfx/display.h"
#include "platform/soft/soft_os.h"
#include "tests/file_text.h"

namespace zorvex::testing {

void PlayField::SetUp() {
  os_ = plat::soft::Make_Soft_Os(plat::soft::Make_Headless_Host());
  script_ = std::make_unique<plat::script::ScriptOs>(*os_);
  plat::Use_Os(script_.get());
  Set_Clock(0);
  // What start-up leaves at tick 0 of these globals, as far as the tests draw and move them.
  Reset_Play_State();
  Build_Sin_Table();
  ship = SpriteRect{0, 448, 160, 0, 64, 16};
  for (Attachment& part : attachments) part.state = -1;  // tests that draw the gun turn it on
  gun.offx = 24;
  gun.offy = -8;
  for (int k = 0; k < 5; ++k) gun.frames[1][k] = SpriteRect{0, 0, 160 + 16 * k, 16, 16, 16};
  for (Brick& brick : bricks) brick.hits = -1;
  brick_timer.interval = 30;
  scroll_timer.interval = 2;
  lpddsback = &back;
  lpddsgfx = &gfx;
  lpddssys = &sys;
  log_path_ = ::testing::TempDir() + "zorvex_game_log_" + std::to_string(::getpid()) + ".txt";
  Open_Log(log_path_.c_str());
  sound_manager = &sounds;
}

void PlayField::TearDown() {
  sound_manager = nullptr;
  Close_Log();
  std::remove(log_path_.c_str());
  lpddsback = lpddsgfx = lpddssys = nullptr;
  plat::Use_Os(nullptr);
}

void PlayField::Set_Clock(std::uint32_t now) { script_->Pin(plat::script::FrameInput{now}); }

std::string PlayField::Log_Text() { return File_Text(log_path_); }

}  // namespace zorvex::testing
