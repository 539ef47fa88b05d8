// The frame step on the test double: the title's last frame, a full shot table, the level
// announcement and the failed-blit report; the rules of play between frames are held by the
// recorded games.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app_fixture.h"
#include "game/state.h"
#include "gfx/display.h"
#include "gfx/sprites.h"
#include "sound/sound_events.h"
#include "zorvex/game_loop.h"

namespace zorvex::testing {
namespace {

class Frames : public AppTest {
 protected:
  // One frame with this input, every clock read answering `tick`.
  void Frame(std::uint32_t tick, bool lmb = false, bool enter = false) {
    script->Pin(plat::script::FrameInput{tick, 0, lmb, enter, false});
    Run_Frame();
  }
  // Pixels of the front page inside a rectangle that are not black (or that are `colour`).
  int Lit(int x0, int y0, int x1, int y1, int colour = -1) {
    std::vector<std::uint16_t> pixels = backend->Front_Pixels();
    int lit = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        const std::uint16_t p = pixels[static_cast<std::size_t>(y * 640 + x)];
        lit += colour < 0 ? p != 0 : p == colour;
      }
    return lit;
  }
};

// Enter is taken after the title is drawn: its frame still shows the title (the mode change and
// the play that follows are in the recorded games).
TEST_F(Frames, EnterOnTheTitleStillShowsTheTitleThenPlays) {
  ASSERT_EQ(Set_Up_Only(), 1);
  Frame(1016, false, true);
  EXPECT_GT(Lit(80, 32, 560, 192), 1000);  // the title picture
  EXPECT_EQ(Lit(0, 200, 640, 440), 0);
  Frame(1032);
  EXPECT_GT(Lit(0, 200, 640, 440), 100000);  // the background now
}

TEST_F(Frames, AFullShotTableStillSoundsAndFlipsTheGun) {
  ASSERT_EQ(Set_Up_Only(), 1);
  Frame(1010, false, true);
  for (Shot& s : shots) s = Shot{100, 300, 256, 0, 8, 8, 0, 0, 1};  // fifty shots standing still
  Record_Sound_Events(true);
  Frame(1061, true);
  EXPECT_TRUE(std::ranges::any_of(Take_Sound_Events(), [](const SoundEvent& e) {
    return e.kind == SoundEvent::Kind::PLAY && e.slot == 2;
  }));
  EXPECT_EQ(gun.state, 1);
  Record_Sound_Events(false);
}

TEST_F(Frames, TheLevelAnnouncementLastsASecond) {
  ASSERT_EQ(Set_Up_Only(), 1);
  game_mode = MODE_INTRO;
  level = 4;
  Frame(5000);
  EXPECT_EQ(intro_timer.tick, 5000u);
  EXPECT_GT(Lit(0, 460, 200, 480), 20);
  Frame(5999);
  EXPECT_EQ(game_mode, MODE_INTRO);
  Frame(6000);
  EXPECT_EQ(game_mode, MODE_PLAY);
  EXPECT_EQ(intro_timer.tick, 0u);
  EXPECT_GT(Lit(0, 460, 200, 480), 20);  // the last frame still shows the text
  EXPECT_EQ(Log_Text(), "Next LevelNext LevelNext Level");
}

TEST_F(Frames, AFailedBlitIsShownAndLoggedWithTheWholeDraw) {
  ASSERT_EQ(Set_Up_Only(), 1);
  EXPECT_EQ(Blit_Sprite(lpddsback, 636, 470, 8, 8, 224, 0, lpddsgfx), 1);  // clipped, fine
  Clear_Surface(lpddsback, 0);
  backend->faults().Fail("back.Blt", -5);
  EXPECT_EQ(Blit_Sprite(lpddsback, -1, 2, 3, 4, 5, 6, lpddsgfx), 0);
  EXPECT_EQ(Log_Text(), "\nBlt Failed: -5 x: -1 y: 2 w: 3 h: 4 sx: 5 sy: 6");
  Flip_Pages();
  EXPECT_GT(Lit(0, 430, 200, 450, 0xF800), 10);  // the code, in red, on screen
}

}  // namespace
}  // namespace zorvex::testing
