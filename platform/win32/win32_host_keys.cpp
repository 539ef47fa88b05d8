// The host layer on Windows: the window's key messages become its key events; the adapters
// carry out its answers (the flip waits while paused and shows the notes, the sound buffers take
// the volume, the keyboard device hides the host's keys from the game).
#include <memory>

#include "host/host_layer.h"
#include "host/screenshot.h"
#include "platform/win32/win32_parts.h"
// The seam's headers first: the system's macros would otherwise rewrite their constants.
// clang-format off
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <shlobj.h>
#include "platform/files/error_text_win32.h"
// clang-format on

namespace {

std::unique_ptr<host::HostLayer> layer;
bool hidden[256] = {};  // taken by the host: kept from the game until read after the release
bool switch_wanted = false;

// The key in the host layer's words: P, - and = as the player's layout names them, the others
// where they sit.
host::Key Key_Of(WPARAM vk, int dik) {
  switch (vk) {
    case 'P':
      return host::Key::P;
    case VK_OEM_MINUS:
      return host::Key::MINUS;
    case VK_OEM_PLUS:
      return host::Key::EQUALS;  // the = key, + when shifted
    default:
      break;
  }
  const host::Key at = host::Key_At(dik);
  return host::Named_By_Layout(at) ? host::Key::OTHER : at;
}

// The user's Pictures folder, made when missing; the working folder when there is none. Its
// name in UTF-8, as the file code takes every name.
bool Keep_Picture(const std::uint16_t* pixels, int width, int height, std::string* result) {
  wchar_t dir[MAX_PATH] = L".";
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_MYPICTURES | CSIDL_FLAG_CREATE, nullptr, 0, dir)))
    dir[0] = L'.', dir[1] = L'\0';
  return host::Save_Screenshot(pixels, width, height, plat::files::Narrow(dir), result);
}

}  // namespace

void plat::win32::Start_Host(const Win32Options& win) {
  layer = std::make_unique<host::HostLayer>(win.host, Keep_Picture);
  switch_wanted = false;
}

bool plat::win32::Host_Key_Message(unsigned message, std::uintptr_t wp, std::intptr_t lp) {
  const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  if (!down && message != WM_KEYUP && message != WM_SYSKEYUP) return false;
  const bool extended = (lp & (1 << 24)) != 0;
  // The key's DirectInput code: its scan code, with the extended keys above 0x80.
  int dik = static_cast<int>((lp >> 16) & 0x7F) | (extended ? 0x80 : 0);
  if (wp == VK_PAUSE) dik = 0xC5;
  host::KeyEvent event;
  event.key = Key_Of(wp, dik);
  event.code = dik;
  event.down = down;
  event.repeat = down && (lp & (1 << 30)) != 0;
  event.alt = (lp & (1 << 29)) != 0;
  const host::Reaction reaction = layer->Key(event, GetTickCount64());
  // As on a return from away: the mouse's motion meanwhile is not the player's move in the game.
  if (reaction.pause) Note_Return();
  if (reaction.volume) Set_Sound_Volume(layer->Volume());
  if (reaction.switch_screen) switch_wanted = true;
  if (reaction.fire != 0) Fire_Key(reaction.fire);
  if (reaction.to_game) return false;
  hidden[dik] = true;
  return true;  // Alt+Enter then opens no system menu and rings no bell
}

void plat::win32::Hide_Host_Keys(std::uint8_t* keyboard_state) {
  for (int dik = 0; dik < 256; ++dik) {
    if (!hidden[dik]) continue;
    keyboard_state[dik] = 0;
    hidden[dik] = layer->Holds(dik);
  }
}

bool plat::win32::Host_Paused() {
  Poll_Pads();  // the flip asks while it waits: a pad plugged in ends the pause it made
  return layer->Paused();
}

host::HostLayer& plat::win32::Host() { return *layer; }

bool plat::win32::Take_Screen_Switch() {
  const bool wanted = switch_wanted;
  switch_wanted = false;
  return wanted;
}
