// The message loop and the frame step on the test double: quitting, the screens, firing,
// restarting, the level announcement and the failed-blit report.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/game_loop.h"
#include "app/shell.h"
#include "app_fixture.h"
#include "game/balls.h"
#include "game/bricks.h"
#include "game/level.h"
#include "game/rng.h"
#include "game/ship.h"
#include "gfx/display.h"
#include "gfx/sprites.h"
#include "input/input.h"
#include "sound/sound_events.h"

namespace zorvex::testing {
namespace {

class Frames : public AppTest {
 protected:
  // One frame with this input, every clock read answering `tick`.
  void Frame(std::uint32_t tick, bool lmb = false, bool enter = false, std::int32_t dx = 0) {
    input = plat::FrameInput{tick, dx, lmb, enter, false};
    script->Pin(input);
    Run_Frame();
  }
  int Live_Shots() {
    int n = 0;
    for (const Shot& s : shots) n += s.active > 0;
    return n;
  }
  // Non-black pixels of the front page inside a rectangle.
  int Lit(int x0, int y0, int x1, int y1) {
    std::vector<std::uint16_t> pixels = backend->Front_Pixels();
    int lit = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) lit += pixels[static_cast<std::size_t>(y * 640 + x)] != 0;
    return lit;
  }
  std::vector<std::string> Sound_Calls() {
    std::vector<std::string> calls;
    for (const SoundEvent& e : Take_Sound_Events()) {
      const char* kind[] = {"load", "volume", "play", "stop"};
      calls.push_back(std::string(kind[static_cast<int>(e.kind)]) + " " + std::to_string(e.slot) +
                      " " + (e.kind == SoundEvent::Kind::Load ? e.file : std::to_string(e.value)));
    }
    return calls;
  }
  plat::FrameInput input;
};

TEST_F(Frames, EscapeQuitsWithStatusZeroAfterTheFrameThatSawIt) {
  // Escape seen in frame 1 posts the quit request; the pass that takes it runs frame 2, and the
  // next pass ends the loop before any further frame.
  EXPECT_EQ(Run_Game("ZORVEX-REPLAY 1\nstart 1000\n1016 0 0 0 1\n1032 0 0 0 0\n1048 0 0 0 0\n"
                     "1064 0 0 0 0\n"),
            0);
  EXPECT_EQ(backend->Frames_Presented(), 2);
}

TEST_F(Frames, EnterOnTheTitleStillShowsTheTitleThenPlays) {
  ASSERT_EQ(Set_Up_Only(), 1);
  Frame(1016);
  EXPECT_GT(Lit(80, 32, 560, 192), 1000);  // the title picture
  EXPECT_GT(Lit(0, 460, 300, 480), 50);    // the line of text
  EXPECT_EQ(Lit(0, 200, 640, 440), 0);

  Frame(1032, false, true);
  EXPECT_EQ(game_mode, MODE_PLAY);
  EXPECT_EQ(level, 1);
  EXPECT_EQ(Lit(0, 200, 640, 440), 0);  // still the title this frame

  Frame(1048, false, true);  // Enter is not looked at in play
  EXPECT_EQ(level, 1);
  EXPECT_GT(Lit(0, 200, 640, 440), 100000);  // the background now
}

TEST_F(Frames, OneShotPerPressAtChecksMoreThanFiftyMillisecondsApart) {
  ASSERT_EQ(Set_Up_Only(), 1);
  Frame(1010, false, true);  // into play
  Frame(1050, true);         // 50 ms: not yet a check
  EXPECT_EQ(Live_Shots(), 0);
  Frame(1051, true);
  ASSERT_EQ(Live_Shots(), 1);
  EXPECT_EQ(shots[0].x + shots[0].vy, ship.x + 24 - 15);  // started at the gun, then moved
  EXPECT_EQ(gun.state, 1);
  Frame(1102, true);  // held: nothing more
  Frame(1153, true);
  EXPECT_EQ(Live_Shots(), 1);
  EXPECT_EQ(fire_latch, 1);
  Frame(1204, false);  // seen up at a check
  EXPECT_EQ(fire_latch, 0);
  Frame(1230, true);  // a click between checks...
  Frame(1240, false);
  Frame(1255, false);  // ...is never seen
  EXPECT_EQ(fire_latch, 0);
  Frame(1306, true);
  EXPECT_EQ(fire_latch, 1);
  int fired = 0;
  for (const Shot& s : shots) fired += s.active != 0 && s.vy == -15;
  EXPECT_EQ(fired, 2);
}

TEST_F(Frames, AFullShotTableStillSoundsAndFlipsTheGun) {
  ASSERT_EQ(Set_Up_Only(), 1);
  Frame(1010, false, true);
  for (Shot& s : shots) s = Shot{100, 300, 256, 0, 8, 8, 0, 0, 1};  // fifty shots standing still
  Record_Sound_Events(true);
  Take_Sound_Events();
  Frame(1061, true);
  std::vector<std::string> calls = Sound_Calls();
  EXPECT_NE(std::find(calls.begin(), calls.end(), "play 2 0"), calls.end());
  EXPECT_EQ(gun.state, 1);
  Record_Sound_Events(false);
}

TEST_F(Frames, TheButtonDoesNothingOffThePlayField) {
  ASSERT_EQ(Set_Up_Only(), 1);
  fire_latch = 1;
  Frame(1100, false);  // title: the latch keeps its value
  EXPECT_EQ(fire_latch, 1);
  game_mode = MODE_GAME_OVER;
  Frame(1200, true);
  EXPECT_EQ(Live_Shots(), 0);
  EXPECT_EQ(fire_latch, 1);
}

TEST_F(Frames, EnterAfterGameOverRestartsOnTheSameLevel) {
  ASSERT_EQ(Set_Up_Only(), 1);
  Frame(1010, false, true);
  for (Ball& b : balls) b.active = 0;
  game_mode = MODE_GAME_OVER;
  level = 7;
  score = 1234;
  lives = -1;
  Record_Sound_Events(true);
  Take_Sound_Events();
  Frame(2000, false, true);
  EXPECT_EQ(game_mode, MODE_PLAY);
  EXPECT_EQ(level, 7);
  EXPECT_EQ(score, 0);
  EXPECT_EQ(lives, 3);
  EXPECT_EQ(balls[0].active, 1);
  EXPECT_EQ(balls[0].x, 634);  // place and look drawn from the generator
  EXPECT_EQ(balls[0].sx, 248);
  EXPECT_EQ(balls[0].sy, 0);
  std::vector<std::string> calls = Sound_Calls();
  ASSERT_GE(calls.size(), 4u);
  EXPECT_EQ(calls[0], "stop 5 1");
  EXPECT_EQ(calls[1], "play 5 0");
  EXPECT_EQ(calls[2], "stop 4 1");  // the new level's music
  EXPECT_EQ(calls.back(), "play 4 1");
  int bricks_live = 0;
  for (int i = 0; i < 75; ++i) bricks_live += bricks[i].hits >= 0;
  EXPECT_EQ(bricks_live, 40);
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
  EXPECT_GT(Lit(0, 430, 200, 450), 10);  // the code, in red, on screen
  std::vector<std::uint16_t> pixels = backend->Front_Pixels();
  bool red = false;
  for (int y = 430; y < 450; ++y)
    for (int x = 0; x < 200; ++x) red |= pixels[static_cast<std::size_t>(y * 640 + x)] == 0xF800;
  EXPECT_TRUE(red);
}

}  // namespace
}  // namespace zorvex::testing
