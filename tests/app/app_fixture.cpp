#include "app_fixture.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "app/game_loop.h"
#include "app/log.h"
#include "app/session.h"
#include "app/shell.h"
#include "game/balls.h"
#include "game/bricks.h"
#include "game/level.h"
#include "game/rng.h"
#include "game/ship.h"
#include "gfx/background_hud.h"
#include "gfx/display.h"
#include "input/input.h"
#include "platform/data_path.h"
#include "sound/sound_manager.h"

namespace zorvex::testing {

namespace {
int instance_tag;
}

void Reset_Globals() {
  score = 0;
  lives = 0;
  level = 0;
  game_mode = MODE_TITLE;
  rand_state = 1;
  for (Ball& b : balls) b = Ball{};
  for (Brick& b : bricks) b = Brick{};
  for (Shot& s : shots) s = Shot{};
  for (Attachment& a : attachments) a = Attachment{};
  ship = SpriteRect{};
  back_tile = TileRect{};
  scroll_y = 0;
  fire_latch = 0;
  intro_timer = Timer{0, 1000};
  pointer_x = 0;
  std::memset(keys, 0, sizeof(keys));
  mouse_state = plat::DIMOUSESTATE{};
  main_window = nullptr;
  app_instance = nullptr;
}

void AppTest::SetUp() {
  Reset_Globals();
  plat::soft::Test_Backend::Options options;
  options.start_ms = 1000;
  backend = std::make_unique<plat::soft::Test_Backend>(options);
  plat::Set_Data_Dir(ZORVEX_DATA_DIR);
  work_dir = ::testing::TempDir();
  // Tests run as separate processes side by side: each needs files of its own.
  log_path = work_dir + "zorvex_app_test_" + std::to_string(::getpid()) + ".log";
  ASSERT_EQ(Open_Log(log_path.c_str()), 1);
}

void AppTest::TearDown() {
  Shutdown_Game();  // also after a failed start-up, which leaves what it made
  if (lpddclipper) lpddclipper->Release();  // the game leaves it to the process's end
  lpddclipper = nullptr;
  Close_Log();
  backend.reset();
  plat::Set_Data_Dir("");
  std::remove(log_path.c_str());
}

int AppTest::Run_Game(const std::string& replay_text) {
  Options options;
  if (!replay_text.empty()) {
    options.replay_path = work_dir + "zorvex_app_test_" + std::to_string(::getpid()) + ".replay";
    std::ofstream(options.replay_path) << replay_text;
  }
  std::string error;
  EXPECT_TRUE(Begin_Session(options, &error)) << error;
  int code = WinMain(reinterpret_cast<plat::HINSTANCE>(&instance_tag), nullptr, "", 1);
  EXPECT_TRUE(End_Session());
  return code;
}

int AppTest::Set_Up_Only() {
  plat::WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.lpszClassName = "ZorvexBall";
  plat::RegisterClassA(&wc);
  main_window = plat::CreateWindowExA(0, "ZorvexBall", "Zorvex!", 0, 0, 0, 640, 480, nullptr,
                                      nullptr, nullptr, nullptr);
  app_instance = reinterpret_cast<plat::HINSTANCE>(&instance_tag);
  return Setup_Game();
}

std::string AppTest::Log_Text() {
  std::ifstream in(log_path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> AppTest::Calls(const std::vector<std::string>& wanted) {
  return backend->journal().Only(wanted);
}

}  // namespace zorvex::testing
