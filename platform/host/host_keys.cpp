#include "platform/host/host_keys.h"

namespace plat::host {

HostKey Host_Key_Of(Key key, bool alt) {
  switch (key) {
    case Key::kEnter:
    case Key::kPadEnter:
      return alt ? HostKey::kFullScreen : HostKey::kNone;
    case Key::kF11:
      return HostKey::kFullScreen;
    case Key::kPause:
    case Key::kP:
      return HostKey::kPause;
    case Key::kMinus:
    case Key::kPadMinus:
      return HostKey::kVolumeDown;
    case Key::kEquals:
    case Key::kPlus:
    case Key::kPadPlus:
      return HostKey::kVolumeUp;
    case Key::kF12:
      return HostKey::kScreenshot;
    default:
      return HostKey::kNone;
  }
}

}  // namespace plat::host
