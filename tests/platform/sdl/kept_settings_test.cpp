// What the SDL host hands to the settings keeper, under SDL's dummy drivers: the volume keys and
// each switch of the screen; and a remembered window scale that no longer fits the desktop.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/sdl/sdl_host.h"

namespace zorvex::testing {
namespace {

std::vector<std::string> remembered;
std::string Remember(const char* key, int value) {
  remembered.push_back(std::string(key) + "=" + std::to_string(value));
  return remembered.size() == 1 ? "Settings not saved: No space left on device" : "";
}

SDL_Window* Open(plat::sdl::SdlOptions options, std::unique_ptr<plat::soft::Host>* host) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  options.nosound = true;
  *host = plat::sdl::Make_Sdl_Host(options);
  if (!*host || !(*host)->Open_Window("test", 640, 480)) return nullptr;
  for (Uint32 id = 1; id < 16; ++id)
    if (SDL_Window* window = SDL_GetWindowFromID(id)) return window;
  return nullptr;
}

void Tap(plat::soft::Host& host, SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
  plat::soft::InputState input;
  for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym = {SDL_GetScancodeFromKey(sym), sym, mod, 0};
    SDL_PushEvent(&e);
    host.Pump_Events(&input);
  }
}

TEST(KeptSettings, VolumeKeysAndEachScreenSwitchAreHandedToTheKeeper) {
  remembered.clear();
  plat::sdl::SdlOptions options;
  options.window = true;
  options.remember = Remember;
  std::unique_ptr<plat::soft::Host> host;
  ASSERT_TRUE(Open(options, &host));
  Tap(*host, SDLK_MINUS);  // the keeper's trouble is a note; the game goes on
  Tap(*host, SDLK_EQUALS);
  Tap(*host, SDLK_RETURN, KMOD_LALT);
  Tap(*host, SDLK_RETURN, KMOD_LALT);
  EXPECT_EQ(remembered,
            (std::vector<std::string>{"volume=90", "volume=100", "window=0", "window=1"}));
}

TEST(KeptSettings, ARememberedScaleTooLargeForTheDesktopGivesWayAndAnAskedOneStays) {
  SDL_DisplayMode desktop{};
  std::unique_ptr<plat::soft::Host> host;
  plat::sdl::SdlOptions options;
  options.window = true;
  options.scale = 8;
  options.scale_gives_way = true;
  SDL_Window* window = Open(options, &host);
  ASSERT_TRUE(window);
  ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
  int w = 0, h = 0;
  SDL_GetWindowSize(window, &w, &h);
  EXPECT_LE(w, std::max(640, desktop.w));
  EXPECT_EQ(w % 640, 0);
  host.reset();
  options.scale_gives_way = false;  // --scale 8 on the command line is obeyed
  window = Open(options, &host);
  ASSERT_TRUE(window);
  SDL_GetWindowSize(window, &w, &h);
  EXPECT_EQ(w, 640 * 8);
}

}  // namespace
}  // namespace zorvex::testing
