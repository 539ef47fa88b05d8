#include "platform/sdl/sdl_pad.h"

#include <algorithm>
#include <cmath>

namespace plat::sdl {

void SdlPads::Stop() {
  for (SDL_GameController* pad : pads_) SDL_GameControllerClose(pad);
  pads_.clear();
  if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  started_ = false;
}

bool SdlPads::Start(const char* mappings_file) {
  // The pads' events arrive while the window has no focus too, so an unplugging is never missed.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
  started_ = true;
  // More pads than SDL knows itself; a missing file is no fault.
  if (mappings_file) SDL_GameControllerAddMappingsFromFile(mappings_file);
  // Pads plugged in before the start come as added events too.
  return true;
}

void SdlPads::Open(int device_index) {
  if (!SDL_IsGameController(device_index)) return;
  SDL_GameController* pad = SDL_GameControllerOpen(device_index);
  if (!pad) return;
  if (std::find(pads_.begin(), pads_.end(), pad) != pads_.end()) {
    SDL_GameControllerClose(pad);  // opened twice: SDL counts the openings
    return;
  }
  pads_.push_back(pad);
}

bool SdlPads::Handle(const SDL_Event& e) {
  if (e.type == SDL_CONTROLLERDEVICEADDED) {
    Open(e.cdevice.which);
    return true;
  }
  if (e.type != SDL_CONTROLLERDEVICEREMOVED) return false;
  SDL_GameController* gone = SDL_GameControllerFromInstanceID(e.cdevice.which);
  auto it = std::find(pads_.begin(), pads_.end(), gone);
  if (gone && it != pads_.end()) {
    pads_.erase(it);
    SDL_GameControllerClose(gone);
  }
  return true;
}

host::PadState SdlPads::State() const {
  host::PadState s;
  for (SDL_GameController* pad : pads_) {
    if (!SDL_GameControllerGetAttached(pad)) continue;
    s.connected = true;
    auto held = [pad](SDL_GameControllerButton b) {
      return SDL_GameControllerGetButton(pad, b) != 0;
    };
    const double x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX) / 32767.0;
    if (std::fabs(x) > std::fabs(s.stick_x)) s.stick_x = std::clamp(x, -1.0, 1.0);
    s.left |= held(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    s.right |= held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    s.fire |= held(SDL_CONTROLLER_BUTTON_A) ||
              SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT) > 16384;
    s.start |= held(SDL_CONTROLLER_BUTTON_START);
    s.back |= held(SDL_CONTROLLER_BUTTON_BACK);
  }
  return s;
}

}  // namespace plat::sdl
