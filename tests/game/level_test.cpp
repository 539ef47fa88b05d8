#include "game/level.h"

#include <gtest/gtest.h>

#include "game/balls.h"
#include "game/bricks.h"
#include "game/rng.h"
#include "play_field_fixture.h"

namespace zorvex::testing {
namespace {

using Strings = std::vector<std::string>;

class Level : public PlayField {
 protected:
  // The test's sound manager has no device, so the load leaves the slot empty and there is
  // no buffer whose volume could be set.
  Strings Music(const char* name) {
    return {"stop 4 1", std::string("load 4 ") + name, "play 4 1"};
  }
  int Balls_In_Play() {
    int n = 0;
    for (const Ball& b : balls) n += b.active;
    return n;
  }
};

TEST_F(Level, SeedFiveAddsOneFastBall) {
  srand(5);
  Start_Level();
  EXPECT_EQ(back_tile.sy, 0);
  ASSERT_EQ(Balls_In_Play(), 1);
  EXPECT_EQ(balls[0].x, 0);
  EXPECT_EQ(balls[0].vx, 6);
  EXPECT_EQ(balls[0].vy, 6);
  EXPECT_EQ(Sounds(), Music("music01.wav"));
}

TEST_F(Level, SeedSixLaunchesBothFansWithRandomCells) {
  New_Ball(50, 50, 8, 8, 224, 0, 5, 5);  // a ball already in play keeps its slot
  srand(6);
  Start_Level();
  ASSERT_EQ(Balls_In_Play(), 11);
  EXPECT_EQ(balls[0].x, 50);
  const int cells[10][2] = {{248, 0}, {248, 8}, {224, 0}, {248, 8}, {224, 8},
                            {240, 8}, {224, 0}, {248, 0}, {232, 8}, {232, 8}};
  for (int k = 0; k < 10; ++k) {
    const Ball& b = balls[k + 1];
    const int speed = 4 + 2 * (k % 5);
    EXPECT_EQ(b.sx, cells[k][0]) << "fan ball " << k;
    EXPECT_EQ(b.sy, cells[k][1]) << "fan ball " << k;
    EXPECT_EQ(b.x, k < 5 ? 0 : 630);
    EXPECT_EQ(b.vx, k < 5 ? speed : -5);
    EXPECT_EQ(b.vy, speed);
  }
  EXPECT_EQ(Sounds(), Music("music04.wav"));
}

TEST_F(Level, ReplacesTheOldWaveAndCapsAtTheTable) {
  New_Brick(1, 1, 32, 16, 128, 48, MOTION_FALL);
  bricks[0].hits = 2;
  level = 13;
  Start_Level();
  EXPECT_EQ(Count_Bricks(), 75);
  for (const Brick& b : bricks) EXPECT_EQ(b.hits, 0);
  EXPECT_EQ(Log_Text(), "");

  // Level 15 requests 80: five are refused and logged, yet each refusal still makes its four
  // draws, so the music drawn after them, and every draw after it, comes where it did.
  Sounds();
  srand(1);
  Start_Level();
  EXPECT_EQ(level, 15);
  EXPECT_EQ(Count_Bricks(), 75);
  EXPECT_EQ(Log_Text(), "no bricks -1no bricks -1no bricks -1no bricks -1no bricks -1");
  EXPECT_EQ(rand_state, 3583620605u);
  EXPECT_EQ(Sounds(), Music("music02.wav"));
}

}  // namespace
}  // namespace zorvex::testing
