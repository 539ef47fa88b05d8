#include "game/bricks.h"

#include <gtest/gtest.h>

#include <cmath>

#include "play_field_fixture.h"

namespace zorvex::testing {
namespace {

class Bricks : public PlayField {
 protected:
  void Step_At(std::uint32_t now) {
    Set_Clock(now);
    Move_Bricks();
  }
};

TEST_F(Bricks, NewBrickStacksItsFramesAndRefusesWhenTheTableIsFull) {
  EXPECT_EQ(New_Brick(32, 16, 32, 16, 128, 48, MOTION_WEAVE), 0);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(bricks[0].frames[k].sy, 48 + 16 * k);
  for (int i = 1; i < BRICK_COUNT; ++i) New_Brick(i, 0, 32, 16, 128, 48, MOTION_FALL);
  EXPECT_EQ(New_Brick(1, 2, 3, 4, 5, 6, 1), 1);
  EXPECT_EQ(Count_Bricks(), BRICK_COUNT);
  EXPECT_EQ(Log_Text(), "no bricks -1");
}

TEST_F(Bricks, MoveOnlyWhenTheThirtyMillisecondTimerRunsOutAndNeverCatchUp) {
  New_Brick(32, 100, 32, 16, 128, 48, MOTION_FALL);
  brick_timer.tick = 1000;
  const std::pair<std::uint32_t, double> steps[] = {{1029, 100}, {1030, 101}, {1230, 102}};
  for (const auto& [now, y] : steps) {
    Step_At(now);
    EXPECT_EQ(bricks[0].y, y) << "at " << now;
  }
  brick_timer.tick = 0xFFFFFFF0u;  // the tick count wraps round
  Step_At(14);
  EXPECT_EQ(bricks[0].y, 103.0);
  EXPECT_EQ(bricks[0].x, 32.0);
}

TEST_F(Bricks, FallAndSideWrapLimitsAreStrict) {
  for (int y : {431, 432, 464}) New_Brick(32, y, 32, 16, 128, 48, MOTION_FALL);
  New_Brick(0, 0, 32, 16, 128, 48, MOTION_FALL);
  New_Brick(0, 0, 32, 16, 128, 48, MOTION_FALL);
  bricks[3].x = 671.5;
  bricks[4].x = 672.0;
  bricks[3].dx = bricks[4].dx = 0.5;
  Step_At(30);
  EXPECT_EQ(bricks[0].y, 432.0);
  EXPECT_EQ(bricks[1].y, 0.0);
  EXPECT_EQ(bricks[2].y, 0.0);
  EXPECT_EQ(bricks[3].x, 672.0);
  EXPECT_EQ(bricks[4].x, 0.0);
}

TEST_F(Bricks, WeavingDriftComesFromTheRowBeforeTheFallAndStaysInsideTheTable) {
  for (int y : {24, 25, -40, 100000}) New_Brick(100, y, 32, 16, 128, 48, MOTION_WEAVE);
  Step_At(30);
  EXPECT_EQ(bricks[0].x, 100.0);
  EXPECT_DOUBLE_EQ(bricks[1].x, 100.0 + std::sin(1.0));
  EXPECT_EQ(bricks[1].y, 26.0);
  EXPECT_EQ(bricks[2].dx, 0.0);                    // above the table: entry 0
  EXPECT_DOUBLE_EQ(bricks[3].dx, std::sin(19.0));  // below it: the last entry
}

// The table is held as constants so that every C library weaves alike; they must be the
// correctly rounded sines, which glibc's sin gives for these angles.
TEST_F(Bricks, SineTableHoldsTheCorrectlyRoundedWholeRadianSines) {
  for (int i = 0; i < WHOLE_RADIAN_SINE_COUNT; ++i) {
    EXPECT_EQ(WHOLE_RADIAN_SINES[i], std::sin(static_cast<double>(i))) << "sin(" << i << ")";
  }
  EXPECT_EQ(sin_table[24], 0.0);
  EXPECT_EQ(sin_table[25], std::sin(1.0));
  EXPECT_EQ(sin_table[SIN_TABLE_SIZE - 1], std::sin(19.0));
}

TEST_F(Bricks, DrawShowsTheHitFrameAtTheTruncatedPositionAndLogsFailures) {
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
