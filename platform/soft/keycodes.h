// DirectInput key codes for the keys a host can report, and the Windows virtual keys that
// GetAsyncKeyState is asked about.
#pragma once

namespace plat::soft {

constexpr int kDikTab = 0x0F, kDikBackspace = 0x0E, kDikLeftControl = 0x1D;
constexpr int kDikLeftShift = 0x2A, kDikRightShift = 0x36, kDikLeftAlt = 0x38;
constexpr int kDikF1 = 0x3B, kDikF11 = 0x57, kDikF12 = 0x58, kDikMinus = 0x0C, kDikEquals = 0x0D;
constexpr int kDikNumpadEnter = 0x9C, kDikRightControl = 0x9D, kDikRightAlt = 0xB8;
constexpr int kDikUp = 0xC8, kDikLeft = 0xCB, kDikRight = 0xCD, kDikDown = 0xD0;

// 'A'..'Z' and '0'..'9' to their key codes; -1 for anything else.
constexpr int Char_To_Dik(char c) {
  constexpr int kLetters[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
  if (c >= 'A' && c <= 'Z') return kLetters[c - 'A'];
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
      return kDikLeft;
    case 0x26:
      return kDikUp;
    case 0x27:
      return kDikRight;
    case 0x28:
      return kDikDown;
    default:
      if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return Char_To_Dik(char(vk));
      return -1;
  }
}

}  // namespace plat::soft
