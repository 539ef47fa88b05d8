// What the recorded games cannot see: full tables and their refusals, where sprites are drawn,
// and what a failed blit logs. Every rule of motion, scoring and timing is held by the traces.
#include <gtest/gtest.h>

#include <cmath>

#include "game/balls.h"
#include "game/bricks.h"
#include "game/level.h"
#include "game/rng.h"
#include "game/ship.h"
#include "play_field_fixture.h"

namespace zorvex::testing {
namespace {

using Tables = PlayField;

TEST_F(Tables, FullTablesRefuseWithTheirOwnCodesAndMessages) {
  for (int i = 0; i < BALL_COUNT; ++i) EXPECT_EQ(New_Ball(i, 0, 8, 8, 224, 0, 5, 5), 1);
  EXPECT_EQ(New_Ball(9, 9, 8, 8, 224, 0, 5, 5), 0);
  EXPECT_EQ(Log_Text(), "No Free Balls.");

  for (int i = 0; i < SHOT_COUNT; ++i) New_Shot(i, 100, 8, 8, 256, 0, 0, -15);
  shots[7].active = -1;  // spent: its slot is free again
  EXPECT_EQ(New_Shot(77, 77, 8, 8, 256, 0, 0, -15), 1);
  EXPECT_EQ(shots[7].x, 77);
  EXPECT_EQ(New_Shot(99, 99, 8, 8, 256, 0, 0, -15), 0);

  // New_Brick answers 0 on success and 1 when full: the opposite of New_Ball.
  EXPECT_EQ(New_Brick(32, 16, 32, 16, 128, 48, MOTION_WEAVE), 0);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(bricks[0].frames[k].sy, 48 + 16 * k);
  for (int i = 1; i < BRICK_COUNT; ++i) New_Brick(i, 0, 32, 16, 128, 48, MOTION_FALL);
  EXPECT_EQ(New_Brick(1, 2, 3, 4, 5, 6, 1), 1);
  EXPECT_EQ(Count_Bricks(), BRICK_COUNT);
  EXPECT_EQ(Log_Text(), "No Free Balls.no bricks -1");
}

TEST_F(Tables, LevelStartReplacesTheWaveAndCapsAtTheTableWithoutSkippingDraws) {
  New_Brick(1, 1, 32, 16, 128, 48, MOTION_FALL);
  bricks[0].hits = 2;
  level = 13;
  Start_Level();
  EXPECT_EQ(Count_Bricks(), 75);
  for (const Brick& b : bricks) EXPECT_EQ(b.hits, 0);
  EXPECT_EQ(Log_Text(), "");
  // Level 15 asks for 80: five are refused and logged, yet each refusal still makes its four
  // draws, so every draw after them comes where it did.
  srand(1);
  Start_Level();
  EXPECT_EQ(level, 15);
  EXPECT_EQ(Count_Bricks(), 75);
  EXPECT_EQ(Log_Text(), "no bricks -1no bricks -1no bricks -1no bricks -1no bricks -1");
  EXPECT_EQ(rand_state, 3583620605u);
}

// Guards no recorded game reaches: a score past the 32-bit top wraps instead of overflowing, and
// weaving bricks placed outside the sine table read its nearest entry.
TEST_F(Tables, ScoreWrapsAndWeavingOutsideTheTableReadsItsEnds) {
  New_Brick(100, 100, 32, 16, 128, 48, MOTION_FALL);
  New_Ball(95, 95, 8, 8, 224, 0, 5, 5);  // its corner lands inside the brick
  score = 2147483647;
  Move_Balls();
  EXPECT_LT(score, 0);
  for (int y : {-40, 100000}) New_Brick(100, y, 32, 16, 128, 48, MOTION_WEAVE);
  Set_Clock(30);
  Move_Bricks();
  EXPECT_EQ(bricks[1].dx, 0.0);
  EXPECT_DOUBLE_EQ(bricks[2].dx, std::sin(19.0));
}

// The table is held as constants so that every C library weaves alike; they must be the
// correctly rounded sines, which glibc's sin gives for these angles. Where each lands in the
// weave's table is held by the traces' brick drift.
TEST_F(Tables, SineTableHoldsTheCorrectlyRoundedWholeRadianSines) {
  for (int i = 0; i < WHOLE_RADIAN_SINE_COUNT; ++i) {
    EXPECT_EQ(WHOLE_RADIAN_SINES[i], std::sin(static_cast<double>(i))) << "sin(" << i << ")";
  }
}

TEST_F(Tables, ShipGunFrameAndShotsInFlightAreDrawnInPlace) {
  ship.x = 100;
  gun.state = 1;
  gun.animf = 2;
  New_Shot(50, 60, 8, 8, 256, 0, 0, -15);
  New_Shot(70, 80, 8, 8, 256, 0, 0, -15);
  shots[1].active = -1;
  Draw_Ship();
  const std::vector<Blit> expected = {{100, 448, 64, 16, 160, 0, &gfx},
                                      {124, 440, 16, 16, 192, 16, &gfx},
                                      {50, 60, 8, 8, 256, 0, &gfx}};
  EXPECT_EQ(back.blits, expected);
}

TEST_F(Tables, FailedGunBlitIsLoggedWithItsStateAndClosesTheLog) {
  back.fail_from = 1;
  back.fail_to = 2;
  gun.state = 1;
  gun.animf = 3;
  Draw_Ship();
  EXPECT_NE(Log_Text().find(" Draw_Ship ATT Blt Err i:0 state: 1 animf: 3"), std::string::npos);
  for (int i = 0; i <= BALL_COUNT; ++i) New_Ball(0, 0, 8, 8, 224, 0, 5, 5);
  EXPECT_EQ(Log_Text().find("No Free Balls."), std::string::npos);
}

TEST_F(Tables, BricksShowTheirHitFrameAtTheTruncatedPositionAndLogFailures) {
  for (int sx : {192, 224, 256}) New_Brick(10, 20, 32, 16, sx, 48, MOTION_FALL);
  bricks[0].x = -0.7;
  bricks[1].hits = 2;
  bricks[1].x = -1.2;
  bricks[1].y = 30.9;
  bricks[2].hits = -1;
  back.fail_from = 1;
  EXPECT_EQ(Draw_Brick(), 1);
  const std::vector<Blit> expected = {{0, 20, 32, 16, 192, 48, &gfx},
                                      {-1, 30, 32, 16, 224, 80, &gfx}};
  EXPECT_EQ(back.blits, expected);
  EXPECT_NE(Log_Text().find(" Draw_Brick Blt Err"), std::string::npos);
}

}  // namespace
}  // namespace zorvex::testing
