// Shared set-up for the play-field tests: the software backend with a clock the test sets, sprite
// surfaces that record every blit, the log captured in a file, and every play-field global put back
// to its start.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/os.h"
#include "platform/script/script_os.h"
#include "sound/sound_manager.h"
#include "tests/recording_surface.h"

namespace zorvex::testing {

// Base fixture: every test starts from the play field a fresh game has after start-up.
class PlayField : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // What the game wrote to its diagnostics log so far.
  std::string Log_Text();

  // Every tick-count read of the game answers `now` from here on.
  void Set_Clock(std::uint32_t now);

  std::unique_ptr<plat::Os> os_;
  std::unique_ptr<plat::script::ScriptOs> script_;  // pins the clock over os_
  RecordingSurface back, gfx, sys;
  CSoundManager sounds;  // no device: every call is recorded and does nothing

 private:
  std::string log_path_;
};

}  // namespace zorvex::testing
