// Start-up on the test double: every step that can fail, what it says, what exists after it,
// and what the program answers.
#include "core/startup.h"

#include <gtest/gtest.h>

#include <string>

#include "app/game_loop.h"
#include "app/shell.h"
#include "app_fixture.h"
#include "gfx/display.h"
#include "input/input.h"
#include "platform/data_path.h"
#include "sound/sound_manager.h"

namespace zorvex::testing {
namespace {

constexpr const char* HALT = "DirectX Init Failed. Halting Exectution.";

class Startup : public AppTest {};

TEST_F(Startup, CompleteStartUpMakesEverythingAndPlaysTheMusic) {
  ASSERT_EQ(Set_Up_Only(), 1);
  EXPECT_NE(lpdd, nullptr);
  EXPECT_NE(lpddsfront, nullptr);
  EXPECT_NE(lpddsback, nullptr);
  EXPECT_NE(lpddclipper, nullptr);
  EXPECT_NE(lpddsgfx, nullptr);
  EXPECT_NE(lpddssys, nullptr);
  ASSERT_NE(sound_manager, nullptr);
  EXPECT_NE(sound_manager->lpdsbslots[SLOT_MUSIC], nullptr);
  EXPECT_NE(lpdikeyboard, nullptr);
  EXPECT_NE(lpdimouse, nullptr);
  EXPECT_EQ(Log_Text(), "");
  EXPECT_EQ(game_mode, MODE_TITLE);
  EXPECT_EQ(lives, 3);
  EXPECT_EQ(fire_timer.tick, 1000u);
}

// The display steps that stop start-up: each logs its own message, then the halt message, and
// nothing after it is made.
TEST_F(Startup, EachDisplayStepThatFailsStopsStartUp) {
  struct Case {
    const char* step;
    const char* message;
  };
  const Case cases[] = {
      {"DirectDrawCreate", "DDraw Create Failed."},
      {"IDirectDraw::QueryInterface", "DDraw QueryInterface Failed."},
      {"IDirectDraw4::SetCooperativeLevel", "Set Coop Level Failed."},
      {"IDirectDraw4::SetDisplayMode", "Set Display Mode Failed."},
      {"IDirectDraw4::CreateSurface", "Primary Create Fail."},
      {"IDirectDrawSurface4::GetAttachedSurface", "Query For Back Buffer Failed."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    TearDown();
    SetUp();
    backend->faults().Fail(c.step, plat::DDERR_GENERIC);
    EXPECT_EQ(Run_Game(), 1);
    EXPECT_EQ(Log_Text(), std::string(c.message) + HALT);
    EXPECT_STREQ(Startup_Failure(), c.message);
    EXPECT_EQ(lpddsgfx, nullptr);
    EXPECT_EQ(sound_manager, nullptr);
    EXPECT_EQ(lpdi, nullptr);
    EXPECT_EQ(backend->Frames_Presented(), 0);
  }
}

TEST_F(Startup, AClipperThatCannotBeMadeIsNoFailure) {
  for (const char* step : {"IDirectDraw4::CreateClipper", "IDirectDrawClipper::SetClipList",
                           "IDirectDrawSurface4::SetClipper"}) {
    SCOPED_TRACE(step);
    TearDown();
    SetUp();
    backend->faults().Fail(step, plat::DDERR_GENERIC);
    EXPECT_EQ(Set_Up_Only(), 1);
    EXPECT_EQ(lpddclipper, nullptr);
    EXPECT_EQ(Log_Text(), "");
  }
}

TEST_F(Startup, MissingSheetsStopBeforeSoundAndInput) {
  plat::Set_Data_Dir(work_dir + "no-such-folder");
  EXPECT_EQ(Run_Game(), 1);
  EXPECT_EQ(Log_Text(), std::string("!handleCould not create lpddsgfx") + HALT);
  EXPECT_EQ(backend->journal().Count("LoadImageA"), 1u);  // ui.bmp is never tried
  EXPECT_EQ(sound_manager, nullptr);
  EXPECT_EQ(lpdi, nullptr);
  EXPECT_NE(std::string(Startup_Failure()).find("Could not create lpddsgfx"), std::string::npos);

  TearDown();
  SetUp();
  backend->faults().Fail("LoadImageA", 0, 2);  // the second sheet
  EXPECT_EQ(Run_Game(), 1);
  EXPECT_EQ(Log_Text(), std::string("!handleCould not create lpddssys") + HALT);
  EXPECT_NE(lpddsgfx, nullptr);
  EXPECT_EQ(sound_manager, nullptr);
}

TEST_F(Startup, EachSheetLoadingStepNamesItself) {
  struct Case {
    const char* step;
    int nth;
    const char* message;
  };
  const Case cases[] = {
      {"GetObjectA", 1, "!GetObject"},
      {"IDirectDraw4::CreateSurface", 2, ""},  // the sheet surface: no message of its own
      {"CreateCompatibleDC", 1, ""},
      {"SelectObject", 1, "!oldBitmap"},
      {"offscreen1.GetDC", 1, "Could not GetDC"},
      {"BitBlt", 1, "Could not BitBlt onto the DirectDrawSurface"},
      {"offscreen1.ReleaseDC", 1, "Could not Release DC"},
      {"SelectObject", 2, "Could not put old contents of the DC back"},
      {"DeleteDC", 1, "Could not delete DC"},
      {"DeleteObject", 1, "Could not free bitmap handle"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.step) + " #" + std::to_string(c.nth));
    TearDown();
    SetUp();
    backend->faults().Fail(c.step, plat::DDERR_GENERIC, c.nth);
    EXPECT_EQ(Run_Game(), 1);
    EXPECT_EQ(Log_Text(), std::string(c.message) + "Could not create lpddsgfx" + HALT);
    EXPECT_EQ(lpddsgfx, nullptr);
    EXPECT_EQ(sound_manager, nullptr);
  }
}

TEST_F(Startup, InputFailuresAreLoggedAndStartUpGoesOn) {
  // A device with no data format cannot be acquired either.
  const char* keyboard[] = {"Could not set DI Cooperation Level on Keyboard.",
                            "Could not set DI Data Format on Keyboard.Could not Acquire Keyboard",
                            "Could not Acquire Keyboard"};
  const char* steps[] = {"keyboard.SetCooperativeLevel", "keyboard.SetDataFormat",
                         "keyboard.Acquire"};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(steps[i]);
    TearDown();
    SetUp();
    backend->faults().Fail(steps[i], plat::DIERR_GENERIC);
    EXPECT_EQ(Set_Up_Only(), 1);
    EXPECT_EQ(Log_Text(), keyboard[i]);  // every other step was made
  }

  // With no DirectInput object nothing can be made, and every step says so.
  TearDown();
  SetUp();
  backend->faults().Fail("DirectInputCreateA", plat::DIERR_GENERIC);
  EXPECT_EQ(Set_Up_Only(), 1);
  EXPECT_EQ(Log_Text(),
            "Could not create DirectInput Object."
            "Could not create DI Keyboard"
            "Could not set DI Cooperation Level on Keyboard."
            "Could not set DI Data Format on Keyboard."
            "Could not Acquire Keyboard"
            "Could not create DirectInput Mouse"
            "Could not set DI Cooperation Level on Mouse."
            "Could not set DI Data Format on Mouse."
            "Could not Acquire Mouse");
  EXPECT_EQ(lpdikeyboard, nullptr);
  // The game still runs its frames, with nothing pressed.
  Run_Frame();
  EXPECT_EQ(pointer_x, 0);
  EXPECT_EQ(game_mode, MODE_TITLE);
}

TEST_F(Startup, AMouseThatCannotBeMadeLeavesTheKeyboardWorking) {
  backend->faults().Fail("IDirectInput::CreateDevice", plat::DIERR_GENERIC, 2);
  EXPECT_EQ(Run_Game("ZORVEX-REPLAY 1\nstart 1000\n1016 0 0 1 0\n"), 0);
  EXPECT_EQ(Log_Text(),
            "Could not create DirectInput Mouse"
            "Could not set DI Cooperation Level on Mouse."
            "Could not set DI Data Format on Mouse."
            "Could not Acquire Mouse");
  EXPECT_EQ(game_mode, MODE_PLAY);  // Enter reached the game
  // Shutdown skips the missing mouse and releases the rest in order (the front page takes its
  // attached back buffer with it).
  Shutdown_Game();
  EXPECT_EQ(
      Calls({"IDirectDraw4.Release", "back.Release", "front.Release", "offscreen1.Release",
             "offscreen2.Release", "IDirectInput.Release", "keyboard.Unacquire", "keyboard.Release",
             "mouse.Unacquire", "mouse.Release"}),
      (std::vector<std::string>{"IDirectDraw4.Release", "back.Release", "front.Release",
                                "back.Release", "offscreen1.Release", "offscreen2.Release",
                                "IDirectInput.Release", "keyboard.Unacquire", "keyboard.Release"}));
}

TEST_F(Startup, NoWindowMeansNoGame) {
  backend->faults().Fail("RegisterClassA", 0);
  EXPECT_EQ(Run_Game(), 1);
  EXPECT_EQ(backend->journal().Count("DirectDrawCreate"), 0u);
  EXPECT_STREQ(Startup_Failure(), "Could not register the window class");

  TearDown();
  SetUp();
  backend->faults().Fail("CreateWindowExA", 0);
  EXPECT_EQ(Run_Game(), 1);
  EXPECT_EQ(backend->journal().Count("DirectDrawCreate"), 0u);
}

}  // namespace
}  // namespace zorvex::testing
