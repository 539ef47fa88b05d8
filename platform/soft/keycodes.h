// DirectInput key codes for the keys a host can report, and the Windows virtual keys that
// GetAsyncKeyState is asked about.
#pragma once

namespace plat::soft {

constexpr int DIK_TAB = 0x0F, DIK_BACK = 0x0E, DIK_LCONTROL = 0x1D;
constexpr int DIK_LSHIFT = 0x2A, DIK_RSHIFT = 0x36, DIK_LMENU = 0x38;
constexpr int DIK_F1 = 0x3B, DIK_F11 = 0x57, DIK_F12 = 0x58, DIK_MINUS = 0x0C, DIK_EQUALS = 0x0D;
constexpr int DIK_NUMPADENTER = 0x9C, DIK_RCONTROL = 0x9D, DIK_RMENU = 0xB8;
constexpr int DIK_UP = 0xC8, DIK_LEFT = 0xCB, DIK_RIGHT = 0xCD, DIK_DOWN = 0xD0;

// 'A'..'Z' and '0'..'9' to their key codes; -1 for anything else.
constexpr int Char_To_Dik(char c) {
  constexpr int LETTERS[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                               0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                               0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
  if (c >= 'A' && c <= 'Z') return LETTERS[c - 'A'];
  if (c == '0') return 0x0B;
  if (c >= '1' && c <= '9') return 0x02 + (c - '1');
  return -1;
}

// A Windows virtual key to the key code that holds its state; -1 when there is none.
constexpr int Vk_To_Dik(int vk) {
  switch (vk) {
    case 0x1B:
      return 0x01;  // VK_ESCAPE
    case 0x0D:
      return 0x1C;  // VK_RETURN
    case 0x20:
      return 0x39;  // VK_SPACE
    case 0x25:
      return DIK_LEFT;
    case 0x26:
      return DIK_UP;
    case 0x27:
      return DIK_RIGHT;
    case 0x28:
      return DIK_DOWN;
    default:
      if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return Char_To_Dik(char(vk));
      return -1;
  }
}

}  // namespace plat::soft
