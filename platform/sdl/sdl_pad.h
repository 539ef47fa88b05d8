// The gamepads through SDL's game controller API: every pad SDL's mapping database knows (its
// own, plus gamecontrollerdb.txt beside the sheets or named by SDL_GAMECONTROLLERCONFIG_FILE),
// plugged in before the game starts or during play. Several pads act as one.
#pragma once

#include <SDL.h>

#include <vector>

#include "host/pad.h"

namespace plat::sdl {

class SdlPads {
 public:
  SdlPads() = default;
  SdlPads(const SdlPads&) = delete;
  SdlPads& operator=(const SdlPads&) = delete;
  ~SdlPads() { Stop(); }
  // Closes the pads; before SDL_Quit, which would close them under us.
  void Stop();

  // Starts SDL's game controllers; false when they cannot start (the game plays on without).
  bool Start(const char* mappings_file);
  // A pad added or removed; false for any other event.
  bool Handle(const SDL_Event& e);
  host::PadState State() const;

 private:
  void Open(int device_index);
  bool started_ = false;
  std::vector<SDL_GameController*> pads_;
};

}  // namespace plat::sdl
