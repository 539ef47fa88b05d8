// The Windows backend: real Win32, GDI, DirectDraw, DirectSound and DirectInput under the seam.
// This header is all the entry point sees of it; <windows.h> stays inside the backend.
#pragma once

#include <memory>
#include <string>

#include "platform/os.h"

namespace plat::win32 {

struct Win32Options {
  bool window = false;  // the desktop's mode, a clipper on the window, no flip chain
  int scale = 0;        // in a window: 0 for the largest whole factor that fits
  bool nosound = false;
  int volume = 100;  // 0 to 100, as with the Linux build's --volume
  // Keeps a setting the player changed in play ("volume", "window" 0 or 1); returns a message to
  // show when it could not be kept. Null: nothing is kept.
  std::string (*remember)(const char* key, int value) = nullptr;
  int sensitivity = 100;        // mouse motion in percent, 25 to 400
  bool stick_position = false;  // a pad's left stick names a place, not a speed
};

std::unique_ptr<plat::Os> Make_Win32_Os(const Win32Options& options);

// The program runs without a console of its own, so that a player sees only the game; started
// from a command prompt whose output is not redirected, its messages go to that prompt.
void Use_Parent_Console();

// The folder holding the running program.
std::string Program_Dir();

}  // namespace plat::win32
