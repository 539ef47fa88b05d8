// The score, level and lives line.
#include "game/hud.h"

#include <gtest/gtest.h>

#include <climits>

#include "game/state.h"
#include "play_field_fixture.h"

namespace zorvex::testing {
namespace {

using Hud = PlayField;

TEST_F(Hud, HudDrawsLabelsNumbersAndOneIconMoreThanLives) {
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

TEST_F(Hud, LifeIconsRunOutAndStopAtTheScreenEdge) {
  const std::int32_t cases[][2] = {{0, 1}, {-1, 0}, {INT_MAX, 40}};
  for (const auto& c : cases) {  // score and level 0 as a fresh game has them: one glyph each
    back.blits.clear();
    lives = c[0];
    Draw_Hud();
    EXPECT_EQ(back.blits.size(), 4u + static_cast<std::size_t>(c[1])) << "lives " << c[0];
  }
}

// A wrapped score is negative: the minus glyph leads, and the longest number is drawn whole.
TEST_F(Hud, NegativeNumbersDrawTheMinusSignAndEveryDigit) {
  Draw_Number(10, 20, INT_MIN);
  ASSERT_EQ(back.blits.size(), 11u);
  EXPECT_EQ(back.blits.front(), (Blit{10, 20, 13, 24, 12, 496, &sys}));
  EXPECT_EQ(back.blits.back(), (Blit{150, 20, 13, 24, 155, 496, &sys}));
}

}  // namespace
}  // namespace zorvex::testing
