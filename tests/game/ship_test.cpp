#include "game/ship.h"

#include <gtest/gtest.h>

#include <climits>

#include "game/balls.h"
#include "game/bricks.h"
#include "input/input.h"
#include "play_field_fixture.h"

namespace zorvex::testing {
namespace {

using Strings = std::vector<std::string>;

class Ship : public PlayField {
 protected:
  void Fire_From(std::int32_t x, std::int32_t y) { New_Shot(x, y, 8, 8, 256, 0, 0, -15); }
};

TEST_F(Ship, FollowsThePointerButStaysOnScreen) {
  for (const auto& [pointer, x] : {std::pair{600, 576}, {576, 576}, {0, 0}, {INT_MAX, 576}}) {
    pointer_x = pointer;
    Move_Ship();
    EXPECT_EQ(ship.x, x) << "pointer " << pointer;
  }
}

TEST_F(Ship, GunAnimatesOneFramePer50MsThenReturnsToIdle) {
  gun.tick = 900;  // stale: the first step comes at once
  gun.state = 1;
  const std::pair<std::uint32_t, int> steps[] = {{1000, 1}, {1049, 1}, {1050, 2}, {1100, 3}};
  for (const auto& [now, animf] : steps) {
    Set_Clock(now);
    Move_Ship();
    EXPECT_EQ(gun.animf, animf) << "at " << now;
  }
  Set_Clock(1150);
  Move_Ship();
  EXPECT_EQ(gun.state, 0);
  EXPECT_EQ(gun.animf, 0);
  Set_Clock(5000);
  Move_Ship();
  EXPECT_EQ(gun.tick, 1150u);  // idle: the timer stands still
}

TEST_F(Ship, NewShotReusesSpentSlotsAndRefusesWhenAllFly) {
  for (int i = 0; i < SHOT_COUNT; ++i) Fire_From(i, 100);
  shots[7].active = -1;
  EXPECT_EQ(New_Shot(77, 77, 8, 8, 256, 0, 0, -15), 1);
  EXPECT_EQ(shots[7].x, 77);
  EXPECT_EQ(New_Shot(99, 99, 8, 8, 256, 0, 0, -15), 0);
}

TEST_F(Ship, ShotDamagesEveryBrickItsCornerLiesInEvenOnItsWayOut) {
  New_Brick(96, 0, 32, 16, 128, 48, MOTION_FALL);
  New_Brick(100, 2, 32, 16, 128, 48, MOTION_FALL);
  New_Brick(300, 300, 32, 16, 128, 48, MOTION_FALL);
  bricks[1].hits = 2;
  Fire_From(100, 10);  // moves to y -5 and leaves; its corner (108, 3) lies in both bricks
  Fire_From(400, 7);   // leaves and misses
  Move_Ship();
  EXPECT_EQ(shots[0].active, -1);
  EXPECT_EQ(shots[1].active, 0);
  EXPECT_EQ(bricks[0].hits, 1);
  EXPECT_EQ(bricks[1].hits, -1);
  EXPECT_EQ(score, 100);  // only the destroying hit scores
  EXPECT_EQ(Sounds(), (Strings{"play 3 0", "play 3 0"}));
}

TEST_F(Ship, DestroyingTheLastBrickStartsTheNextLevelForTheRestOfTheShots) {
  New_Brick(100, 100, 32, 16, 128, 48, MOTION_FALL);
  bricks[0].hits = 2;
  Fire_From(100, 113);
  Fire_From(290, 219);  // from state 1 the new wave's first brick lies at (288, 208)
  Move_Ship();
  EXPECT_EQ(level, 1);
  EXPECT_EQ(shots[1].active, -1);
  EXPECT_EQ(bricks[0].x, 288.0);
  EXPECT_EQ(bricks[0].hits, 1);
}

TEST_F(Ship, DrawShowsShipGunFrameAndShotsInFlight) {
  ship.x = 100;
  gun.state = 1;
  gun.animf = 2;
  Fire_From(50, 60);
  Fire_From(70, 80);
  shots[1].active = -1;
  Draw_Ship();
  const std::vector<Blit> expected = {{100, 448, 64, 16, 160, 0, &gfx},
                                      {124, 440, 16, 16, 192, 16, &gfx},
                                      {50, 60, 8, 8, 256, 0, &gfx}};
  EXPECT_EQ(back.blits, expected);
}

TEST_F(Ship, FailedGunBlitIsLoggedWithItsStateAndClosesTheLog) {
  back.fail_from = 1;
  back.fail_to = 2;
  gun.state = 1;
  gun.animf = 3;
  Draw_Ship();
  EXPECT_NE(Log_Text().find(" Draw_Ship ATT Blt Err i:0 state: 1 animf: 3"), std::string::npos);
  for (int i = 0; i <= BALL_COUNT; ++i) New_Ball(0, 0, 8, 8, 224, 0, 5, 5);
  EXPECT_EQ(Log_Text().find("No Free Balls."), std::string::npos);
}

}  // namespace
}  // namespace zorvex::testing
