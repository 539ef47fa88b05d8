// An SDL host in a window under SDL's dummy drivers, with events pushed through its real
// handling and the game's input state as it leaves it.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "platform/sdl/sdl_host.h"

namespace zorvex::testing {

class SdlHostFixture : public ::testing::Test {
 protected:
  void Open(const plat::sdl::SdlOptions& options, const char* audio_driver = "dummy") {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", audio_driver, 1);
    host_ = plat::sdl::Make_Sdl_Host(options);
    ASSERT_TRUE(host_);
    ASSERT_TRUE(host_->Open_Window("test", 640, 480));
    for (Uint32 id = 1; !window_ && id < 16; ++id) window_ = SDL_GetWindowFromID(id);
    ASSERT_TRUE(window_);
    host_->Pump_Events(&input_);  // whatever the window's opening sent
  }
  void SetUp() override {
    plat::sdl::SdlOptions options;
    options.window = true;
    Open(options);
  }
  void Push(SDL_Event e) {
    SDL_PushEvent(&e);
    host_->Pump_Events(&input_);
  }
  // The key named `sym`, where the US layout has it unless `at` says where it sits.
  void Key(SDL_Keycode sym, bool down, bool repeat = false, Uint16 mod = KMOD_NONE,
           SDL_Scancode at = SDL_SCANCODE_UNKNOWN) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.repeat = repeat;
    e.key.keysym = {at ? at : SDL_GetScancodeFromKey(sym), sym, mod, 0};
    Push(e);
  }
  void Tap(SDL_Keycode sym, Uint16 mod = KMOD_NONE, SDL_Scancode at = SDL_SCANCODE_UNKNOWN) {
    Key(sym, true, false, mod, at);
    Key(sym, false, false, mod, at);
  }
  std::int32_t Take_X() {
    host_->Pump_Events(&input_);
    std::int32_t dx = 0, dy = 0, dz = 0;
    input_.Take_Motion(&dx, &dy, &dz);
    return dx;
  }
  // The fire button as the game's next poll reads it.
  bool Firing() { return input_.Button_Down(0, plat::soft::InputState::DEVICE); }

  std::unique_ptr<plat::soft::Host> host_;
  SDL_Window* window_ = nullptr;
  plat::soft::InputState input_;
};

}  // namespace zorvex::testing
