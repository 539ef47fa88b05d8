#include "platform/sdl/sdl_hotkeys.h"

#include <SDL.h>

namespace plat::sdl {

HostKey Host_Key_Of(int keycode, int mods) {
  const bool alt = (mods & KMOD_ALT) != 0;
  switch (keycode) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return alt ? HostKey::kFullScreen : HostKey::kNone;
    case SDLK_F11:
      return HostKey::kFullScreen;
    case SDLK_PAUSE:
    case SDLK_p:
      return HostKey::kPause;
    case SDLK_MINUS:
    case SDLK_KP_MINUS:
      return HostKey::kVolumeDown;
    case SDLK_EQUALS:
    case SDLK_PLUS:
    case SDLK_KP_PLUS:
      return HostKey::kVolumeUp;
    case SDLK_F12:
      return HostKey::kScreenshot;
    default:
      return HostKey::kNone;
  }
}

}  // namespace plat::sdl
