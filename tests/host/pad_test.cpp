// The pads' state as the host layer turns it into the game's input, beyond what the SDL host's
// virtual pad shows: what a pause does to the pads and they to it.
#include "host/pad.h"

#include <gtest/gtest.h>

#include <limits>

#include "host/host_layer.h"

namespace zorvex::testing {
namespace {

using host::PadState;

PadState Plugged() {
  PadState s;
  s.connected = true;
  return s;
}

TEST(PadLayer, OnlyAPauseThePadMadeEndsWhenOneIsPluggedAndBackHeldStillQuits) {
  host::HostLayer layer({});
  PadState pad = Plugged();
  layer.Pad(pad, 0);
  EXPECT_TRUE(layer.Pad(PadState{}, 10).pause);
  ASSERT_TRUE(layer.Paused());
  EXPECT_TRUE(layer.Pad(pad, 20).pause);
  EXPECT_FALSE(layer.Paused());

  host::KeyEvent p;
  p.key = host::Key::P;
  p.code = 25;
  layer.Key(p, 30);
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

  pad.stick_x = std::numeric_limits<double>::quiet_NaN();
  pads.Update(pad, 40);
  EXPECT_EQ(pads.Update(pad, 100).motion, 0);
  pad.stick_x = 1;
  EXPECT_EQ(pads.Update(pad, 1000000).motion, 400) << "a long wait is a quarter second";
}

}  // namespace
}  // namespace zorvex::testing
