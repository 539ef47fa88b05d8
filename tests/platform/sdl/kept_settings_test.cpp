// What the SDL host hands to the settings keeper, under SDL's dummy drivers: the volume keys and
// each switch of the screen; and a remembered window scale that no longer fits the desktop.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sdl_host_fixture.h"

namespace zorvex::testing {
namespace {

std::vector<std::string> remembered;
std::string Remember(const char* key, int value) {
  remembered.push_back(std::string(key) + "=" + std::to_string(value));
  return remembered.size() == 1 ? "Settings not saved: No space left on device" : "";
}

class KeptSettings : public SdlHostFixture {
 protected:
  void SetUp() override {
    options_.window = true;
    options_.host.sound = false;
  }
  void Reopen() {
    host_.reset();
    window_ = nullptr;
    Open(options_);
  }
  plat::sdl::SdlOptions options_;
};

TEST_F(KeptSettings, VolumeKeysAndEachScreenSwitchAreHandedToTheKeeper) {
  remembered.clear();
  options_.host.remember = Remember;
  Reopen();
  Tap(SDLK_MINUS);  // the keeper's trouble is a note; the game goes on
  Tap(SDLK_EQUALS);
  Tap(SDLK_RETURN, KMOD_LALT);
  Tap(SDLK_RETURN, KMOD_LALT);
  EXPECT_EQ(remembered,
            (std::vector<std::string>{"volume=90", "volume=100", "window=0", "window=1"}));
}

TEST_F(KeptSettings, ARememberedScaleTooLargeForTheDesktopGivesWayAndAnAskedOneStays) {
  options_.scale = 8;
  options_.scale_gives_way = true;
  Reopen();
  SDL_DisplayMode desktop{};
  ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  EXPECT_LE(w, std::max(640, desktop.w));
  EXPECT_EQ(w % 640, 0);
  options_.scale_gives_way = false;  // --scale 8 on the command line is obeyed
  Reopen();
  SDL_GetWindowSize(window_, &w, &h);
  EXPECT_EQ(w, 640 * 8);
}

}  // namespace
}  // namespace zorvex::testing
