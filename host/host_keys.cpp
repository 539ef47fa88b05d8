#include "host/host_keys.h"

namespace host {

Key Key_At(int dik) {
  switch (dik) {
    case 0x19:
      return Key::P;
    case 0xC5:
      return Key::PAUSE;
    case 0x0C:
      return Key::MINUS;
    case 0x0D:
      return Key::EQUALS;
    case 0x4A:
      return Key::PAD_MINUS;
    case 0x4E:
      return Key::PAD_PLUS;
    case 0x1C:
      return Key::ENTER;
    case 0x9C:
      return Key::PAD_ENTER;
    case 0x57:
      return Key::F11;
    case 0x58:
      return Key::F12;
    case 0x01:
      return Key::ESCAPE;
    case 0xCB:
      return Key::LEFT;
    case 0xCD:
      return Key::RIGHT;
    case 0x1E:
      return Key::A;
    case 0x20:
      return Key::D;
    case 0x39:
      return Key::SPACE;
    default:
      return Key::OTHER;
  }
}

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
