// The whole game on the test double: real sheets and sounds, a clock the test sets, the
// diagnostics log captured in a file, and every global put back to its start between tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/options.h"
#include "platform/script/script_os.h"
#include "platform/test_double/test_backend.h"

namespace zorvex::testing {

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // WinMain as the program runs it; a replay text, when given, drives the frames. How the
  // session ended is left in `session_ended`.
  int Run_Game(const std::string& replay_text = "", Options options = {});
  // Setup_Game alone, with the window made as WinMain makes it.
  int Set_Up_Only();
  std::string Log_Text();

  std::unique_ptr<plat::test_double::TestBackend> backend;
  // Over the backend, as every run has it; tests pin frames on it.
  std::unique_ptr<plat::script::ScriptOs> script;
  std::string log_path;
  std::string work_dir;
  bool session_ended = false;
};

}  // namespace zorvex::testing
