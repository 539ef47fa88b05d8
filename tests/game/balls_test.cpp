#include "game/balls.h"

#include <gtest/gtest.h>

#include "game/bricks.h"
#include "game/rng.h"
#include "game/ship.h"
#include "play_field_fixture.h"

namespace zorvex::testing {
namespace {

using Strings = std::vector<std::string>;

class Balls : public PlayField {
 protected:
  void Clear_Balls() {
    for (Ball& b : balls) b = Ball{};
  }
};

TEST_F(Balls, WallsReflectOnlyBeyondTheEdgeAndTheBottomLosesTheBall) {
  New_Ball(3, 3, 8, 8, 224, 0, -5, -5);       // crosses left and top together
  New_Ball(100, 100, 8, 8, 224, 0, -100, 0);  // lands exactly on x 0
  New_Ball(200, 467, 8, 8, 224, 0, 0, 5);     // bottom at 480 exactly
  New_Ball(300, 468, 8, 8, 224, 0, 0, 5);     // bottom at 481
  Move_Balls();
  EXPECT_EQ(balls[0].vx, 5);
  EXPECT_EQ(balls[0].vy, 5);
  EXPECT_EQ(balls[1].vx, -100);
  EXPECT_EQ(balls[2].active, 1);
  EXPECT_EQ(balls[3].active, 0);
  EXPECT_EQ(Sounds(), (Strings{"play 0 0", "play 0 0"}));
}

TEST_F(Balls, ShipThrowsBackByWhereItStrikesAndOnlyFromAbove) {
  ship.x = 300;
  const int cases[][3] = {{340, 5, 2}, {300, -5, -6}, {316, 5, 0}, {293, 5, -4}, {355, 5, 4}};
  for (const auto& [x, vx, expected] : cases) {
    Clear_Balls();
    New_Ball(x - vx, 445, 8, 8, 224, 0, vx, 5);  // the step lands it at (x, 450)
    Move_Balls();
    EXPECT_EQ(balls[0].vx, expected) << "ball at x " << x;
    EXPECT_EQ(balls[0].vy, -5);
    EXPECT_EQ(Sounds(), (Strings{"play 1 0"}));
  }
  Clear_Balls();
  New_Ball(300, 458, 8, 8, 224, 0, 0, 5);   // top edge lands at 463
  New_Ball(356, 445, 8, 8, 224, 0, 0, 5);   // right edge at ship x + 64
  New_Ball(320, 455, 8, 8, 224, 0, 0, -5);  // rising
  Move_Balls();
  EXPECT_TRUE(Sounds().empty());
}

TEST_F(Balls, FourLostBallsAreServedAgainAndTheFifthEndsTheGame) {
  New_Ball(100, 470, 8, 8, 224, 0, 0, 5);
  Move_Balls();  // lost, yet counted: the serve comes next step
  EXPECT_EQ(lives, 3);
  for (std::int32_t expected : {2, 1, 0, -1}) {
    Clear_Balls();
    Move_Balls();
    EXPECT_EQ(lives, expected);
    EXPECT_EQ(balls[0].active, 1);
    EXPECT_EQ(balls[0].vx, balls[0].x == 0 ? 5 : -5);
    EXPECT_EQ(Sounds(), (Strings{"play 5 0"}));
  }
  Clear_Balls();
  Move_Balls();
  EXPECT_EQ(game_mode, MODE_GAME_OVER);
  EXPECT_EQ(balls[0].active, 0);
  EXPECT_EQ(Sounds(), (Strings{"stop 4 1"}));
}

TEST_F(Balls, BallDamagesEveryBrickItsCornerLiesInAndScoresFromTheDraws) {
  New_Brick(100, 100, 32, 16, 128, 48, MOTION_FALL);
  New_Brick(96, 98, 32, 16, 128, 48, MOTION_FALL);
  New_Brick(400, 100, 32, 16, 128, 48, MOTION_FALL);
  New_Ball(95, 95, 8, 8, 224, 0, 5, 5);  // corner lands at (108, 108)
  srand(1);                              // 41 % 10, 18467 % 5 = 2; 6334 % 10, 26500 % 5 = 0
  Move_Balls();
  EXPECT_EQ(bricks[0].hits, 1);
  EXPECT_EQ(bricks[1].hits, 1);
  EXPECT_EQ(bricks[2].hits, 0);
  EXPECT_EQ(score, 7 + 5);
  EXPECT_EQ(balls[0].vy, 5);  // reversed twice
  EXPECT_EQ(Sounds(), (Strings{"play 3 0", "play 3 0"}));
  score = 2147483647;  // after very long play the score wraps instead of overflowing
  New_Ball(95, 95, 8, 8, 224, 0, 5, 5);
  srand(1);
  Move_Balls();
  EXPECT_LT(score, 0);
}

TEST_F(Balls, DestroyingTheLastBrickStartsTheNextLevelInsideTheBallLoop) {
  New_Brick(100, 100, 32, 16, 128, 48, MOTION_FALL);
  bricks[0].hits = 2;
  New_Ball(95, 95, 8, 8, 224, 0, 5, 5);
  // The ball's two draws (31652, 0) leave the state at 6, from which the level start
  // launches both fans of five.
  rand_state = 1170608172u;
  Move_Balls();
  EXPECT_EQ(score, 25);
  EXPECT_EQ(level, 1);
  EXPECT_EQ(Count_Bricks(), 10);
  // The fans took slots 1 to 10, after the hitting ball, so they moved in this same step.
  for (int i = 1; i <= 10; ++i) {
    ASSERT_EQ(balls[i].active, 1) << "slot " << i;
    EXPECT_EQ(balls[i].y, balls[i].vy) << "slot " << i;
    EXPECT_EQ(balls[i].x, i <= 5 ? balls[i].vx : 625) << "slot " << i;
  }
}

TEST_F(Balls, FullTableRefusesAndLogs) {
  for (int i = 0; i < BALL_COUNT; ++i) EXPECT_EQ(New_Ball(i, 0, 8, 8, 224, 0, 5, 5), 1);
  EXPECT_EQ(New_Ball(9, 9, 8, 8, 224, 0, 5, 5), 0);
  EXPECT_EQ(Log_Text(), "No Free Balls.");
}

}  // namespace
}  // namespace zorvex::testing
