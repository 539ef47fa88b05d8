// The pads' state as the host layer turns it into the game's input, beyond what the SDL host's
// virtual pad shows: what a pause does to the pads and they to it.
#include "host/pad.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "host/host_layer.h"

namespace zorvex::testing {
namespace {

using host::PadState;

PadState Plugged(double stick_x = 0) { return {.connected = true, .stick_x = stick_x}; }

TEST(PadLayer, OnlyAPauseThePadMadeEndsWhenOneIsPluggedAndBackHeldStillQuits) {
  host::HostLayer layer({});
  PadState pad = Plugged();
  layer.Pad(pad, 0);
  EXPECT_TRUE(layer.Pad(PadState{}, 10).pause);
  ASSERT_TRUE(layer.Paused());
  EXPECT_TRUE(layer.Pad(pad, 20).pause);
  EXPECT_FALSE(layer.Paused());

  layer.Key({host::Key::P, 25}, 30);
  ASSERT_TRUE(layer.Paused());
  layer.Pad(PadState{}, 40);
  EXPECT_FALSE(layer.Pad(pad, 50).pause) << "the player's own pause stays";
  EXPECT_TRUE(layer.Paused());

  pad.fire = pad.start = true;
  const auto pressed = layer.Pad(pad, 60);
  EXPECT_EQ(pressed.fire, 0) << "paused, the pad is not heard";
  EXPECT_EQ(pressed.enter, 0);
  pad = Plugged();
  pad.back = true;
  layer.Pad(pad, 100);
  EXPECT_EQ(layer.Pad(pad, 900).escape, 0);
  const auto quit = layer.Pad(pad, 1100);
  EXPECT_EQ(quit.escape, 1) << "Back held a second quits, as Escape does";
  EXPECT_TRUE(quit.pause);
  EXPECT_FALSE(layer.Paused());
}

TEST(PadSteering, AButtonHeldThroughALetGoMustBePressedAgainAndABadStickIsAtRest) {
  host::PadSteering pads;
  PadState pad = Plugged();
  pad.fire = true;
  EXPECT_EQ(pads.Update(pad, 0).fire, 1);
  EXPECT_EQ(pads.Release().fire, -1);
  EXPECT_EQ(pads.Update(pad, 10).fire, 0) << "still held from before";
  pad.fire = false;
  pads.Update(pad, 20);
  pad.fire = true;
  EXPECT_EQ(pads.Update(pad, 30).fire, 1);

  pad.stick_x = 0.2;  // a worn stick at rest
  pads.Update(pad, 40);
  EXPECT_EQ(pads.Update(pad, 100).motion, 0);
  pad.stick_x = -0.5;
  EXPECT_EQ(pads.Update(pad, 200).motion, -18) << "half way is an eighth of the top speed";
  pad.stick_x = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(pads.Update(pad, 300).motion, 0);
  pad.stick_x = 1;
  EXPECT_EQ(pads.Update(pad, 1000000).motion, 400) << "a long wait is a quarter second";
}

// The stick as a position, through the layer that follows the pointer: the game's pointer is
// mirrored here, clamped at 0 and 640 as the game clamps it.
TEST(PadLayer, TheStickAsAPositionPlacesTheShipAndLeavesItToTheMouseWhenLetGo) {
  host::HostOptions options;
  options.stick = host::StickWay::POSITION;
  host::HostLayer layer(options);
  std::int64_t pointer = 0;
  auto steer = [&](double x, std::uint64_t ms) {
    pointer = std::clamp<std::int64_t>(pointer + layer.Pad(Plugged(x), ms).motion, 0, 640);
  };
  steer(0.1, 0);
  EXPECT_EQ(pointer, 0) << "a worn stick at rest places nothing";
  steer(-0.5, 10);
  EXPECT_EQ(pointer, 183) << "half way: 37% of the travel between the dead zone and the edge";
  steer(0.95, 20);
  EXPECT_EQ(pointer, 640) << "the right edge, the pointer pushed home";
  steer(0.6, 30);
  EXPECT_EQ(pointer, 434);
  steer(0, 40);
  EXPECT_EQ(pointer, 288) << "let go, the ship rests in the middle";

  std::int32_t dx = -100, dy = 0;
  layer.Scale_Mouse(&dx, &dy);
  pointer += dx;
  steer(0.05, 50);
  EXPECT_EQ(pointer, 188) << "the stick at rest leaves the mouse's motion alone";
  steer(-0.5, 60);
  EXPECT_EQ(pointer, 183) << "and steers from where the mouse left the ship";

  EXPECT_EQ(layer.Pad(Plugged(0.6), 65, false).motion, 0) << "the game is away";
  steer(0.6, 66);
  EXPECT_EQ(pointer, 434) << "and back, the ship goes where the stick points";

  pointer = 400;  // motion the game never took: the mirror is wrong until an edge
  steer(-1, 70);
  steer(-0.5, 80);
  EXPECT_EQ(pointer, 183) << "the left edge puts the reckoning right";
}

}  // namespace
}  // namespace zorvex::testing
