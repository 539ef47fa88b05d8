// Start-up on the test double: every step that can fail, what it says, what exists after it,
// and what the program answers.
#include "core/startup.h"

#include <gtest/gtest.h>

#include <string>

#include "app_fixture.h"
#include "gfx/display.h"
#include "input/input.h"
#include "sound/sound_manager.h"
#include "startup_steps.h"
#include "zorvex/game_loop.h"
#include "zorvex/win_main.h"

namespace zorvex::testing {
namespace {

class Startup : public AppTest {};

class FatalStep : public AppTest, public ::testing::WithParamInterface<Step> {};

TEST_P(FatalStep, LogsItsMessageAndStopsStartUp) {
  const Step& s = GetParam();
  backend->faults().Fail(s.step, plat::DDERR_GENERIC, s.nth);
  EXPECT_EQ(Run_Game(), 1);
  EXPECT_EQ(Log_Text(), s.log.empty() ? "" : s.log + HALT);
  const std::string& failure = s.failure.empty() ? s.log : s.failure;
  EXPECT_EQ(std::string(Startup_Failure()).rfind(failure, 0), 0u) << Startup_Failure();
  EXPECT_EQ(lpddsgfx != nullptr, s.sheet_made);
  EXPECT_EQ(lpddssys, nullptr);  // ui.bmp is never tried after gfx.bmp failed
  EXPECT_EQ(sound_manager, nullptr);
  EXPECT_EQ(lpdi, nullptr);
  EXPECT_EQ(backend->Frames_Presented(), 0);
  // What start-up made is still the program's to release, and all of it can be.
  Shutdown_Game();
  Release_Clipper();
  EXPECT_EQ(backend->Live_Objects(), 0);
}

INSTANTIATE_TEST_SUITE_P(Window, FatalStep, ::testing::ValuesIn(WINDOW_STEPS));
INSTANTIATE_TEST_SUITE_P(Display, FatalStep, ::testing::ValuesIn(DISPLAY_STEPS));
INSTANTIATE_TEST_SUITE_P(Sheets, FatalStep, ::testing::ValuesIn(SHEET_STEPS));

class LoggedStep : public AppTest, public ::testing::WithParamInterface<Step> {};

TEST_P(LoggedStep, IsLoggedAndStartUpGoesOn) {
  const Step& s = GetParam();
  backend->faults().Fail(s.step, plat::DIERR_GENERIC, s.nth);
  EXPECT_EQ(Set_Up_Only(), 1);
  EXPECT_EQ(Log_Text(), s.log);  // every other step was made
  EXPECT_EQ(lpddclipper == nullptr, s.log.empty());
  EXPECT_EQ(lpdimouse == nullptr, s.log.find(MOUSE) != std::string::npos);
  Run_Frame();  // with nothing pressed
  EXPECT_EQ(game_mode, MODE_TITLE);
}

INSTANTIATE_TEST_SUITE_P(ClipperAndInput, LoggedStep, ::testing::ValuesIn(LOGGED_STEPS));

class SoundFailure : public AppTest, public ::testing::WithParamInterface<SoundStep> {};

TEST_P(SoundFailure, LeavesTheGamePlaying) {
  const SoundStep& s = GetParam();
  backend->faults().Fail(s.step, plat::DSERR_GENERIC, s.nth);
  EXPECT_EQ(Set_Up_Only(), 1);
  EXPECT_TRUE(backend->faults().Empty()) << "the step was never reached";
  EXPECT_EQ(Log_Text(), "");
  ASSERT_NE(sound_manager, nullptr);
  EXPECT_EQ(sound_manager->Slot_Buffer(SLOT_MUSIC) != nullptr, s.music_slot_filled);
  EXPECT_NE(lpdimouse, nullptr);  // input comes up after sound
  Run_Frame();
  EXPECT_EQ(game_mode, MODE_TITLE);
}

INSTANTIATE_TEST_SUITE_P(Sound, SoundFailure, ::testing::ValuesIn(SOUND_STEPS));

TEST_F(Startup, AMouseThatCannotBeMadeLeavesTheKeyboardWorking) {
  backend->faults().Fail("IDirectInput::CreateDevice", plat::DIERR_GENERIC, 2);
  // Enter in frame 1; Escape in frame 2 posts the quit, the pass that takes it runs frame 3, and
  // the next pass ends the loop (status 0) before any further frame.
  EXPECT_EQ(Run_Game("ZORVEX-REPLAY 1\nstart 1000\n1016 0 0 1 0\n1032 0 0 0 1\n1048 0 0 0 0\n"
                     "1064 0 0 0 0\n"),
            0);
  EXPECT_EQ(backend->Frames_Presented(), 3);
  EXPECT_EQ(Log_Text(), MOUSE);
  EXPECT_EQ(game_mode, MODE_PLAY);  // Enter reached the game
  // Shutdown skips the missing mouse and releases the rest in order.
  Shutdown_Game();
  EXPECT_EQ(
      backend->journal().Only({"IDirectDraw4.Release", "back.Release", "front.Release",
                               "offscreen1.Release", "offscreen2.Release", "IDirectInput.Release",
                               "keyboard.Unacquire", "keyboard.Release", "mouse.Unacquire",
                               "mouse.Release"}),
      (std::vector<std::string>{"IDirectDraw4.Release", "back.Release", "front.Release",
                                "offscreen1.Release", "offscreen2.Release", "IDirectInput.Release",
                                "keyboard.Unacquire", "keyboard.Release"}));
}

}  // namespace
}  // namespace zorvex::testing
