#include "app_fixture.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "app/session.h"
#include "core/log.h"
#include "game/state.h"
#include "gfx/display.h"
#include "platform/data_path.h"
#include "tests/file_text.h"
#include "zorvex/game_loop.h"
#include "zorvex/win_main.h"

namespace zorvex::testing {

namespace {
int instance_tag;
}

void AppTest::SetUp() {
  Reset_Play_State();
  main_window = nullptr;
  app_instance = nullptr;
  plat::test_double::TestBackend::Options options;
  options.start_ms = 1000;
  backend = std::make_unique<plat::test_double::TestBackend>(options);
  script = std::make_unique<plat::script::ScriptOs>(backend->os());
  plat::Use_Os(script.get());
  plat::Set_Data_Dir(ZORVEX_DATA_DIR);
  work_dir = ::testing::TempDir();
  // Tests run as separate processes side by side: each needs files of its own.
  log_path = work_dir + "zorvex_app_test_" + std::to_string(::getpid()) + ".log";
  ASSERT_EQ(Open_Log(log_path.c_str()), 1);
}

void AppTest::TearDown() {
  Shutdown_Game();  // also after a failed start-up, which leaves what it made
  Release_Clipper();
  Close_Log();
  backend.reset();
  script.reset();
  plat::Set_Data_Dir("");
  std::remove(log_path.c_str());
}

int AppTest::Run_Game(const std::string& replay_text, Options options) {
  if (!replay_text.empty()) {
    options.replay_path = log_path + ".replay";
    std::ofstream(options.replay_path) << replay_text;
  }
  std::string error;
  EXPECT_TRUE(Begin_Session(options, &error)) << error;
  int code = WinMain(reinterpret_cast<plat::HINSTANCE>(&instance_tag), nullptr, "", 1);
  session_ended = End_Session();
  std::remove((log_path + ".replay").c_str());
  return code;
}

int AppTest::Set_Up_Only() { return Open_Game_Window() ? Setup_Game() : 0; }

std::string AppTest::Log_Text() { return File_Text(log_path); }

}  // namespace zorvex::testing
