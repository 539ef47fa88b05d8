// SDL scancodes to DirectInput key codes.
#pragma once

namespace plat::sdl {

// -1 for keys the game has no code for.
int Scancode_To_Dik(int scancode);

}  // namespace plat::sdl
