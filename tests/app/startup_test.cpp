// Start-up on the test double: every step that can fail, what it says, what exists after it,
// and what the program answers.
#include "core/startup.h"

#include <gtest/gtest.h>

#include <string>

#include "app_fixture.h"
#include "gfx/display.h"
#include "input/input.h"
#include "sound/sound_manager.h"
#include "zorvex/game_loop.h"
#include "zorvex/win_main.h"

namespace zorvex::testing {
namespace {

const std::string HALT = "DirectX Init Failed. Halting Exectution.";
const std::string MOUSE =
    "Could not create DirectInput MouseCould not set DI Cooperation Level on Mouse."
    "Could not set DI Data Format on Mouse.Could not Acquire Mouse";

class Startup : public AppTest {};

TEST_F(Startup, CompleteStartUpMakesEverythingAndPlaysTheMusic) {
  ASSERT_EQ(Set_Up_Only(), 1);
  ASSERT_NE(sound_manager, nullptr);
  const void* made[] = {lpdd,         lpddsfront, lpddsback,
                        lpddclipper,  lpddsgfx,   lpddssys,
                        lpdikeyboard, lpdimouse,  sound_manager->lpdsbslots[SLOT_MUSIC]};
  for (std::size_t i = 0; i < std::size(made); ++i) EXPECT_NE(made[i], nullptr) << i;
  EXPECT_EQ(Log_Text(), "");
}

// A step of start-up made to fail (its nth call), and what it leaves.
struct Step {
  const char* step;
  int nth;
  std::string log;           // the whole log
  std::string failure = "";  // how the reported failure starts, when not as the log
  bool sheet_made = false;
};
void PrintTo(const Step& s, std::ostream* out) { *out << s.step << " #" << s.nth; }

// Steps that stop start-up: each logs its own message, then the halt message (the window's steps
// log nothing); nothing after it is made and no frame is shown.
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
}

// Without a window there is nothing to draw on: start-up stops before the display.
INSTANTIATE_TEST_SUITE_P(
    Window, FatalStep,
    ::testing::Values(Step{"RegisterClassA", 1, "", "Could not register the window class"},
                      Step{"CreateWindowExA", 1, "", "Could not create the window"}));

const std::string GFX = "Could not create lpddsgfx";
INSTANTIATE_TEST_SUITE_P(
    Display, FatalStep,
    ::testing::Values(Step{"DirectDrawCreate", 1, "DDraw Create Failed."},
                      Step{"IDirectDraw::QueryInterface", 1, "DDraw QueryInterface Failed."},
                      Step{"IDirectDraw4::SetCooperativeLevel", 1, "Set Coop Level Failed."},
                      Step{"IDirectDraw4::SetDisplayMode", 1, "Set Display Mode Failed."},
                      Step{"IDirectDraw4::CreateSurface", 1, "Primary Create Fail."},
                      Step{"IDirectDrawSurface4::GetAttachedSurface", 1,
                           "Query For Back Buffer Failed."}));

// Loading a sheet: each step names itself before the sheet's own message.
INSTANTIATE_TEST_SUITE_P(
    Sheets, FatalStep,
    ::testing::Values(
        Step{"LoadImageA", 1, "!handle" + GFX, GFX}, Step{"GetObjectA", 1, "!GetObject" + GFX, GFX},
        Step{"IDirectDraw4::CreateSurface", 2, GFX, GFX},  // no message of its own
        Step{"CreateCompatibleDC", 1, GFX, GFX}, Step{"SelectObject", 1, "!oldBitmap" + GFX, GFX},
        Step{"offscreen1.GetDC", 1, "Could not GetDC" + GFX, GFX},
        Step{"BitBlt", 1, "Could not BitBlt onto the DirectDrawSurface" + GFX, GFX},
        Step{"offscreen1.ReleaseDC", 1, "Could not Release DC" + GFX, GFX},
        Step{"SelectObject", 2, "Could not put old contents of the DC back" + GFX, GFX},
        Step{"DeleteDC", 1, "Could not delete DC" + GFX, GFX},
        Step{"DeleteObject", 1, "Could not free bitmap handle" + GFX, GFX},
        Step{"LoadImageA", 2, "!handleCould not create lpddssys", "Could not create lpddssys",
             true}));

// Steps whose failure is logged while start-up goes on: the rest is made and frames run.
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

INSTANTIATE_TEST_SUITE_P(
    ClipperAndInput, LoggedStep,
    ::testing::Values(Step{"IDirectDraw4::CreateClipper", 1, ""},
                      Step{"IDirectDrawClipper::SetClipList", 1, ""},
                      Step{"IDirectDrawSurface4::SetClipper", 1, ""},
                      Step{"keyboard.SetCooperativeLevel", 1,
                           "Could not set DI Cooperation Level on Keyboard."},
                      // A device with no data format cannot be acquired either.
                      Step{"keyboard.SetDataFormat", 1,
                           "Could not set DI Data Format on Keyboard.Could not Acquire Keyboard"},
                      Step{"keyboard.Acquire", 1, "Could not Acquire Keyboard"},
                      // Without DirectInput every input step says so.
                      Step{"DirectInputCreateA", 1,
                           "Could not create DirectInput Object.Could not create DI Keyboard"
                           "Could not set DI Cooperation Level on Keyboard."
                           "Could not set DI Data Format on Keyboard.Could not Acquire Keyboard" +
                               MOUSE}));

// Sound steps: each failure leaves the game without the sound it hit (every sound when the device
// itself failed), logs nothing and stops nothing.
struct SoundStep {
  const char* step;
  int nth;
  bool music_slot_filled;
};
void PrintTo(const SoundStep& s, std::ostream* out) { *out << s.step << " #" << s.nth; }

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

// The primary buffer is the device's first; each slot's buffer is tried in hardware, then in
// software; music is the sixth slot loaded and the first played.
INSTANTIATE_TEST_SUITE_P(Sound, SoundFailure,
                         ::testing::Values(SoundStep{"DirectSoundCreate", 1, false},
                                           SoundStep{"IDirectSound::SetCooperativeLevel", 1, false},
                                           SoundStep{"IDirectSound::CreateSoundBuffer", 1, false},
                                           SoundStep{"primary.SetFormat", 1, false},
                                           SoundStep{"IDirectSound::CreateSoundBuffer", 2, true},
                                           SoundStep{"IDirectSoundBuffer::Lock", 6, true},
                                           SoundStep{"IDirectSoundBuffer::Play", 1, true}));

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
