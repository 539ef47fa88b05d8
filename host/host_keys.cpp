#include "host/host_keys.h"

namespace host {

HostKey Host_Key_Of(Key key, bool alt) {
  switch (key) {
    case Key::ENTER:
    case Key::PAD_ENTER:
      return alt ? HostKey::FULL_SCREEN : HostKey::GAME_KEY;
    case Key::F11:
      return HostKey::FULL_SCREEN;
    case Key::PAUSE:
    case Key::P:
      return HostKey::PAUSE;
    case Key::MINUS:
    case Key::PAD_MINUS:
      return HostKey::VOLUME_DOWN;
    case Key::EQUALS:
    case Key::PLUS:
    case Key::PAD_PLUS:
      return HostKey::VOLUME_UP;
    case Key::F12:
      return HostKey::SCREENSHOT;
    default:
      return HostKey::GAME_KEY;
  }
}

}  // namespace host
