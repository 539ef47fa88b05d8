#include <gtest/gtest.h>

#include <climits>

#include "game/hud.h"
#include "game/level.h"
#include "game/state.h"
#include "gfx/background.h"
#include "play_field_fixture.h"

namespace zorvex {
namespace {

using testing::Blit;

class BackgroundHud : public testing::PlayField {
 protected:
  void SetUp() override {
    PlayField::SetUp();
    back_tile = TileRect{64, 128, 64, 64};
  }
};

TEST_F(BackgroundHud, TileGridCoversTheScreenAtTheScrollOffset) {
  scroll_y = 10.0;
  Set_Clock(1);  // too soon to scroll
  Draw_Back();
  ASSERT_EQ(back.blits.size(), 108u);
  EXPECT_EQ(back.blits.front(), (Blit{-64, -54, 64, 64, 64, 128, &gfx}));
  EXPECT_EQ(back.blits[9], (Blit{0, -54, 64, 64, 64, 128, &gfx}));
  EXPECT_EQ(back.blits.back(), (Blit{640, 458, 64, 64, 64, 128, &gfx}));
  EXPECT_EQ(scroll_y, 10.0);
  EXPECT_EQ(scroll_timer.tick, 0u);
}

TEST_F(BackgroundHud, ScrollStepsOncePerCallAfterTwoMillisecondsModulo63) {
  const double steps[][2] = {{0, 1}, {62, 63}, {63, 1}, {10, 11}};
  std::uint32_t now = 100;
  for (const auto& s : steps) {
    scroll_y = s[0];
    Set_Clock(now);
    Draw_Back();
    EXPECT_EQ(scroll_y, s[1]);
    EXPECT_EQ(scroll_timer.tick, now);
    now += 2;
  }
  Set_Clock(now - 1);
  Draw_Back();
  EXPECT_EQ(scroll_y, 11.0);
}

TEST_F(BackgroundHud, OnlyTheLastTilesFailureIsReported) {
  back.fail_from = 0;
  back.fail_to = 107;  // every tile but the last fails
  Draw_Back();
  EXPECT_EQ(Log_Text().find(" Draw_Back Blt Err"), std::string::npos);
  back.blits.clear();
  back.fail_from = 107;
  back.fail_to = 108;
  Draw_Back();
  EXPECT_NE(Log_Text().find(" Draw_Back Blt Err"), std::string::npos);
}

TEST_F(BackgroundHud, HudDrawsLabelsNumbersAndOneIconMoreThanLives) {
  score = 12345;
  level = 7;
  lives = 3;
  Draw_Hud();
  const std::vector<Blit> expected = {
      {5, 5, 60, 20, 266, 500, &sys},   {64, 5, 13, 24, 64, 496, &sys},
      {78, 5, 13, 24, 77, 496, &sys},   {92, 5, 13, 24, 90, 496, &sys},
      {106, 5, 13, 24, 103, 496, &sys}, {120, 5, 13, 24, 116, 496, &sys},
      {530, 5, 70, 20, 266, 476, &sys}, {585, 5, 13, 24, 142, 496, &sys},
      {5, 470, 16, 8, 264, 0, &gfx},    {21, 470, 16, 8, 264, 0, &gfx},
      {37, 470, 16, 8, 264, 0, &gfx},   {53, 470, 16, 8, 264, 0, &gfx}};
  EXPECT_EQ(back.blits, expected);
}

TEST_F(BackgroundHud, LifeIconsRunOutAndStopAtTheScreenEdge) {
  const std::int32_t cases[][2] = {{0, 1}, {-1, 0}, {INT_MAX, 40}};
  for (const auto& c : cases) {
    back.blits.clear();
    score = 0;
    level = 0;
    lives = c[0];
    Draw_Hud();
    EXPECT_EQ(back.blits.size(), 4u + static_cast<std::size_t>(c[1])) << "lives " << c[0];
  }
}

TEST_F(BackgroundHud, NumbersUseTheGlyphStripIncludingTheMinusSign) {
  Draw_Number(64, 5, 0);
  ASSERT_EQ(back.blits.size(), 1u);
  EXPECT_EQ(back.blits[0], (Blit{64, 5, 13, 24, 51, 496, &sys}));
  back.blits.clear();
  Draw_Number(10, 20, -9);
  ASSERT_EQ(back.blits.size(), 2u);
  EXPECT_EQ(back.blits[0].sx, 12);
  EXPECT_EQ(back.blits[1], (Blit{24, 20, 13, 24, 168, 496, &sys}));
  back.blits.clear();
  Draw_Number(0, 0, INT_MIN);  // the longest text fits the buffer
  EXPECT_EQ(back.blits.size(), 11u);
}

}  // namespace
}  // namespace zorvex
