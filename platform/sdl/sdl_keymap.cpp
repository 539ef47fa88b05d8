#include "platform/sdl/sdl_keymap.h"

#include <SDL.h>

#include <utility>

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
  // The other keys the game or the host reads: SDL's scancode, then the game's code.
  static constexpr std::pair<int, int> OTHERS[] = {{SDL_SCANCODE_0, Char_To_Dik('0')},
                                                   {SDL_SCANCODE_RETURN, DIK_RETURN},
                                                   {SDL_SCANCODE_KP_ENTER, DIK_NUMPADENTER},
                                                   {SDL_SCANCODE_KP_MINUS, 0x4A},
                                                   {SDL_SCANCODE_KP_PLUS, 0x4E},
                                                   {SDL_SCANCODE_PAUSE, 0xC5},
                                                   {SDL_SCANCODE_ESCAPE, DIK_ESCAPE},
                                                   {SDL_SCANCODE_SPACE, DIK_SPACE},
                                                   {SDL_SCANCODE_BACKSPACE, DIK_BACK},
                                                   {SDL_SCANCODE_TAB, DIK_TAB},
                                                   {SDL_SCANCODE_MINUS, DIK_MINUS},
                                                   {SDL_SCANCODE_EQUALS, DIK_EQUALS},
                                                   {SDL_SCANCODE_F11, DIK_F11},
                                                   {SDL_SCANCODE_F12, DIK_F12},
                                                   {SDL_SCANCODE_UP, DIK_UP},
                                                   {SDL_SCANCODE_DOWN, DIK_DOWN},
                                                   {SDL_SCANCODE_LEFT, DIK_LEFT},
                                                   {SDL_SCANCODE_RIGHT, DIK_RIGHT},
                                                   {SDL_SCANCODE_LCTRL, DIK_LCONTROL},
                                                   {SDL_SCANCODE_RCTRL, DIK_RCONTROL},
                                                   {SDL_SCANCODE_LSHIFT, DIK_LSHIFT},
                                                   {SDL_SCANCODE_RSHIFT, DIK_RSHIFT},
                                                   {SDL_SCANCODE_LALT, DIK_LMENU},
                                                   {SDL_SCANCODE_RALT, DIK_RMENU}};
  for (const auto& [sdl, dik] : OTHERS)
    if (sdl == scancode) return dik;
  return -1;
}

}  // namespace plat::sdl
