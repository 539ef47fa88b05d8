// The Windows backend: real Win32, GDI, DirectDraw, DirectSound and DirectInput under the seam.
// This header is all the entry point sees of it; <windows.h> stays inside the backend.
#pragma once

#include <memory>
#include <string>

#include "host/host_layer.h"
#include "platform/os.h"

namespace plat::win32 {

struct Win32Options {
  bool window = false;  // the desktop's mode, a clipper on the window, no flip chain
  int scale = 0;        // in a window: 0 for the largest whole factor that fits
  // The host layer's, as on the other platforms (`sound` false: DirectSound is not opened);
  // where the screenshots go is the backend's own.
  host::HostOptions host;
};

std::unique_ptr<plat::Os> Make_Win32_Os(const Win32Options& options);

// The program runs without a console of its own, so that a player sees only the game; started
// from a command prompt whose output is not redirected, its messages go to that prompt.
void Use_Parent_Console();

// The folder holding the running program.
std::string Program_Dir();

}  // namespace plat::win32
