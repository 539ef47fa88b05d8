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
    return DIK_F1 + (scancode - SDL_SCANCODE_F1);
  switch (scancode) {
    case SDL_SCANCODE_0:
      return Char_To_Dik('0');
    case SDL_SCANCODE_RETURN:
      return DIK_RETURN;
    case SDL_SCANCODE_KP_ENTER:
      return DIK_NUMPADENTER;
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
      return DIK_BACK;
    case SDL_SCANCODE_TAB:
      return DIK_TAB;
    case SDL_SCANCODE_MINUS:
      return DIK_MINUS;
    case SDL_SCANCODE_EQUALS:
      return DIK_EQUALS;
    case SDL_SCANCODE_F11:
      return DIK_F11;
    case SDL_SCANCODE_F12:
      return DIK_F12;
    case SDL_SCANCODE_UP:
      return DIK_UP;
    case SDL_SCANCODE_DOWN:
      return DIK_DOWN;
    case SDL_SCANCODE_LEFT:
      return DIK_LEFT;
    case SDL_SCANCODE_RIGHT:
      return DIK_RIGHT;
    case SDL_SCANCODE_LCTRL:
      return DIK_LCONTROL;
    case SDL_SCANCODE_RCTRL:
      return DIK_RCONTROL;
    case SDL_SCANCODE_LSHIFT:
      return DIK_LSHIFT;
    case SDL_SCANCODE_RSHIFT:
      return DIK_RSHIFT;
    case SDL_SCANCODE_LALT:
      return DIK_LMENU;
    case SDL_SCANCODE_RALT:
      return DIK_RMENU;
    default:
      return -1;
  }
}

}  // namespace plat::sdl
