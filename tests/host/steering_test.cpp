// Mouse sensitivity and keyboard steering, as the host layer turns them into mouse counts.
#include "host/steering.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "host/host_layer.h"

namespace zorvex::testing {
namespace {

using host::KeySteering;
using host::Sensitivity;
using host::SteerKey;

struct SlowMotion {
  int percent;
  std::vector<std::int32_t> counts;  // one a frame
  std::vector<std::int32_t> given;
};

TEST(Sensitivity, SlowMotionIsCarriedNeitherLostNorMadeUpAndTheExtremesDoNotOverflow) {
  const std::vector<SlowMotion> table = {
      {100, {1, -1, 7, -300}, {1, -1, 7, -300}},  // exactly the device's counts
      {25, {1, 1, 1, 1, 1, 1, 1, 1}, {0, 0, 0, 1, 0, 0, 0, 1}},
      {50, {-1, -1, -1, -1}, {0, -1, 0, -1}},
      {50, {1, -1, 1, -1, 1, -1}, {0, 0, 0, 0, 0, 0}},  // a hand's tremor goes nowhere
      {150, {1, 1, 1, 1}, {1, 2, 1, 2}},
      {400, {1, -1, 3}, {4, -4, 12}},
      {33, {3, 3, 3}, {0, 1, 1}},                   // 33 is taken as asked, 0.99 a frame
      {10, {10, 10}, {2, 3}},                       // below the range: held at 25
      {1000, {1, 1}, {4, 4}},                       // above it: held at 400
      {400, {INT32_MAX / 4}, {INT32_MAX / 4 * 4}},  // the extremes do not overflow
      {25, {INT32_MIN}, {INT32_MIN / 4}},
  };
  for (const SlowMotion& row : table) {
    Sensitivity s(row.percent);
    std::vector<std::int32_t> given;
    for (std::int32_t c : row.counts) given.push_back(s.Scale(c));
    EXPECT_EQ(given, row.given) << row.percent << "%";
  }
}

TEST(KeySteering, ATapMovesOneCountAndHoldingCrossesTheFieldInAboutHalfASecond) {
  KeySteering k;
  k.Key(SteerKey::RIGHT, true, false, 1000);
  k.Key(SteerKey::RIGHT, false, false, 1005);
  EXPECT_EQ(k.Motion(1016), 1) << "a tap let go between two frames";
  EXPECT_EQ(k.Motion(1032), 0);

  // Held, one frame at a time, as a 60 Hz game looks.
  k.Key(SteerKey::LEFT, true, false, 2000);
  std::int64_t moved = 0;
  std::vector<std::int32_t> frames;
  for (int t = 2000; t <= 2600; t += 16) {
    frames.push_back(k.Motion(static_cast<std::uint64_t>(t)));
    moved += frames.back();
    if (t == 2000 + 16 * 4) {
      EXPECT_GE(moved, -6) << "a pixel or two a frame at first";
    }
    if (t == 2000 + 16 * 32) {
      EXPECT_LE(moved, -600) << "near the field's 640 counts by 0.5 s";
    }
  }
  EXPECT_EQ(frames.front(), -1);
  EXPECT_NEAR(frames.back(), -38.4, 1) << "the top speed, 2.4 counts a ms";
  for (std::size_t i = 1; i < frames.size(); ++i) EXPECT_LE(frames[i], frames[i - 1] + 1);
}

TEST(KeySteering, BothHeldTheShipStandsAndTurningStartsSlowAgain) {
  KeySteering k;
  k.Key(SteerKey::LEFT, true, false, 0);
  k.Motion(400);
  k.Key(SteerKey::RIGHT, true, false, 400);
  EXPECT_EQ(k.Motion(500), 0) << "both held";
  k.Key(SteerKey::LEFT, false, false, 500);
  EXPECT_EQ(k.Motion(500), 1) << "right alone starts slow again";
  EXPECT_LT(k.Motion(532), 5);
}

TEST(HostLayerSteering, PauseLetsTheKeysGoAndSteeringCanBeTurnedOff) {
  using host::Key;
  host::HostLayer layer({});
  auto press = [&](Key key, bool down, std::uint64_t now) {
    return layer.Key({key, static_cast<int>(key) + 100, down}, now);
  };
  EXPECT_EQ(press(Key::SPACE, true, 0).fire, 1);
  press(Key::D, true, 0);
  EXPECT_GT(layer.Key_Motion(100), 0);
  press(Key::P, true, 100);
  ASSERT_TRUE(layer.Paused());
  EXPECT_EQ(layer.Key_Motion(500), 0) << "pausing lets the keys go";
  EXPECT_EQ(press(Key::A, true, 500).fire, 0);
  EXPECT_EQ(layer.Key_Motion(600), 0) << "keys pressed while paused do not steer";

  host::HostOptions off;
  off.key_steering = false;
  host::HostLayer plain(off);
  EXPECT_EQ(plain.Key({Key::SPACE}, 0).fire, 0);
}

}  // namespace
}  // namespace zorvex::testing
