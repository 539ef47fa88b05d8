// A pad through SDL's virtual joystick, read by the SDL host as any pad in SDL's mapping
// database is: it steers, fires, starts a game, quits only when Back is held, and pauses the game
// when it is unplugged.
#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/dinput.h"
#include "sdl_host_fixture.h"

namespace zorvex::testing {
namespace {

using plat::soft::InputState;

class Pad : public SdlHostFixture {
 protected:
  void SetUp() override {
    SdlHostFixture::SetUp();
    Plug();
  }
  void TearDown() override {
    if (joystick_) SDL_JoystickClose(joystick_);
  }
  void Plug() {
    Attach();
    host_->Pump_Events(&input_);
  }
  void Attach() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "virtual pad";
    index_ = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(index_, 0) << SDL_GetError();
    joystick_ = SDL_JoystickOpen(index_);
    ASSERT_TRUE(joystick_) << SDL_GetError();
  }
  void Unplug() {
    SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
    SDL_JoystickDetachVirtual(index_);
    host_->Pump_Events(&input_);
  }
  void Button(SDL_GameControllerButton b, bool down) {
    SDL_JoystickSetVirtualButton(joystick_, b, down);
    host_->Pump_Events(&input_);
  }
  void Axis(SDL_GameControllerAxis a, Sint16 value) {
    SDL_JoystickSetVirtualAxis(joystick_, a, value);
    host_->Pump_Events(&input_);
  }
  bool Key_Seen(int dik) { return input_.Key_Down(dik, InputState::DEVICE); }

  int index_ = -1;
  SDL_Joystick* joystick_ = nullptr;
};

// The stick's dead zone and curve are the host layer's; here, the axis read at its full scale.
TEST_F(Pad, TheStickAndTheDPadSteer) {
  Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  Take_X();
  SDL_Delay(100);
  const std::int32_t full = Take_X();
  EXPECT_GE(full, 120) << "1.6 counts a ms";
  EXPECT_LE(full, 400);
  Axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
  Take_X();
  SDL_Delay(20);
  EXPECT_LT(Take_X(), 0);
  Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
  Take_X();

  Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
  Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
  EXPECT_EQ(Take_X(), -1) << "a tap of the d-pad moves one count, as the arrow keys do";
}

TEST_F(Pad, SouthOrTheRightTriggerFiresAndStartIsEnter) {
  Button(SDL_CONTROLLER_BUTTON_A, true);
  EXPECT_TRUE(Firing());
  Button(SDL_CONTROLLER_BUTTON_A, false);
  Firing();
  EXPECT_FALSE(Firing());
  Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 30000);
  EXPECT_TRUE(Firing());
  Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0);

  Button(SDL_CONTROLLER_BUTTON_START, true);
  EXPECT_TRUE(Key_Seen(plat::DIK_RETURN)) << "Start starts a game";
  Button(SDL_CONTROLLER_BUTTON_START, false);
  Key_Seen(plat::DIK_RETURN);
  EXPECT_FALSE(Key_Seen(plat::DIK_RETURN));
}

// How long Back must be held is the host layer's; here, that the SDL host passes it Back and time.
TEST_F(Pad, BackHeldForASecondQuits) {
  Button(SDL_CONTROLLER_BUTTON_BACK, true);
  EXPECT_FALSE(Key_Seen(plat::DIK_ESCAPE));
  SDL_Delay(1050);
  host_->Pump_Events(&input_);
  EXPECT_TRUE(Key_Seen(plat::DIK_ESCAPE));
}

TEST_F(Pad, UnpluggedInPlayPausesAndPluggedAgainPlaysOn) {
  Button(SDL_CONTROLLER_BUTTON_A, true);
  ASSERT_TRUE(host_->Visible());
  Unplug();
  EXPECT_FALSE(host_->Visible()) << "the game waits, as when the focus is lost";
  Firing();
  EXPECT_FALSE(Firing()) << "the button let go";
  Plug();
  EXPECT_TRUE(host_->Visible());
  EXPECT_FALSE(Firing());
}

class PadBeforeTheStart : public Pad {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    Attach();
    SdlHostFixture::SetUp();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);  // the host holds it now
  }
};

TEST_F(PadBeforeTheStart, IsFoundWithoutBeingPluggedAgain) {
  Button(SDL_CONTROLLER_BUTTON_A, true);
  EXPECT_TRUE(Firing());
}

}  // namespace
}  // namespace zorvex::testing
