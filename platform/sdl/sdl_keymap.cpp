#include "platform/sdl/sdl_keymap.h"

#include <SDL.h>

#include "platform/dinput.h"
#include "platform/soft/keycodes.h"

namespace plat::sdl {

using namespace plat::soft;

int Scancode_To_Dik(int scancode) {
  if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
    return Char_To_Dik(static_cast<char>('A' + (scancode - SDL_SCANCODE_A)));
  if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
    return Char_To_Dik(static_cast<char>('1' + (scancode - SDL_SCANCODE_1)));
  if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F10)
    return kDikF1 + (scancode - SDL_SCANCODE_F1);
  switch (scancode) {
    case SDL_SCANCODE_0:
      return Char_To_Dik('0');
    case SDL_SCANCODE_RETURN:
      return DIK_RETURN;
    case SDL_SCANCODE_KP_ENTER:
      return kDikNumpadEnter;
    case SDL_SCANCODE_KP_MINUS:
      return 0x4A;
    case SDL_SCANCODE_KP_PLUS:
      return 0x4E;
    case SDL_SCANCODE_PAUSE:
      return 0xC5;
    case SDL_SCANCODE_ESCAPE:
      return DIK_ESCAPE;
    case SDL_SCANCODE_SPACE:
      return DIK_SPACE;
    case SDL_SCANCODE_BACKSPACE:
      return kDikBackspace;
    case SDL_SCANCODE_TAB:
      return kDikTab;
    case SDL_SCANCODE_MINUS:
      return kDikMinus;
    case SDL_SCANCODE_EQUALS:
      return kDikEquals;
    case SDL_SCANCODE_F11:
      return kDikF11;
    case SDL_SCANCODE_F12:
      return kDikF12;
    case SDL_SCANCODE_UP:
      return kDikUp;
    case SDL_SCANCODE_DOWN:
      return kDikDown;
    case SDL_SCANCODE_LEFT:
      return kDikLeft;
    case SDL_SCANCODE_RIGHT:
      return kDikRight;
    case SDL_SCANCODE_LCTRL:
      return kDikLeftControl;
    case SDL_SCANCODE_RCTRL:
      return kDikRightControl;
    case SDL_SCANCODE_LSHIFT:
      return kDikLeftShift;
    case SDL_SCANCODE_RSHIFT:
      return kDikRightShift;
    case SDL_SCANCODE_LALT:
      return kDikLeftAlt;
    case SDL_SCANCODE_RALT:
      return kDikRightAlt;
    default:
      return -1;
  }
}

}  // namespace plat::sdl
