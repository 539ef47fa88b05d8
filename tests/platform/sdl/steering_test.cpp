// Steering without a mouse through the SDL host's real event handling: the arrow keys and A/D
// arrive as mouse motion, Space as the left button.
#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/dinput.h"
#include "sdl_host_fixture.h"

namespace zorvex::testing {
namespace {

using KeysSteer = SdlHostFixture;

TEST_F(KeysSteer, ArrowsAndLettersMoveThePointerAndSpaceFiresOncePerPress) {
  Key(SDLK_RIGHT, true);
  SDL_Delay(100);
  EXPECT_GT(Take_X(), 0) << "how fast is the host layer's";
  Key(SDLK_RIGHT, false);
  EXPECT_GE(Take_X(), 0);
  EXPECT_EQ(Take_X(), 0) << "let go, the ship stops";

  Key(SDLK_a, true);
  Key(SDLK_a, false);
  EXPECT_EQ(Take_X(), -1) << "a tap moves one count";

  Key(SDLK_SPACE, true);
  EXPECT_TRUE(Firing());
  Key(SDLK_SPACE, true, true);
  EXPECT_TRUE(Firing()) << "still held";
  Key(SDLK_SPACE, false);
  Firing();  // the press, seen once
  EXPECT_FALSE(Firing());
  EXPECT_TRUE(input_.Key_Down(plat::DIK_SPACE, plat::soft::InputState::DEVICE))
      << "the game's keyboard still sees Space";
}

TEST_F(KeysSteer, LosingTheFocusLetsTheKeysAndTheButtonGo) {
  Key(SDLK_LEFT, true);
  Key(SDLK_SPACE, true);
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  Push(e);
  Take_X();
  Firing();
  EXPECT_FALSE(Firing());
  e.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
  Push(e);
  SDL_Delay(50);
  EXPECT_EQ(Take_X(), 0) << "Left held from before is not held now";
}

}  // namespace
}  // namespace zorvex::testing
