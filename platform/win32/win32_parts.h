// What the Windows backend's own files share. Speaks only the seam's types, so that <windows.h>
// stays inside the .cpp files that need it.
#pragma once

#include <cstdint>

#include "platform/os.h"
#include "platform/win32/win32_os.h"

namespace host {
class HostLayer;
}

namespace plat::win32 {

// A framed window's style, outer place and size: the game's picture at a whole factor (`scale`,
// or 0 for the largest that fits the desktop) in the middle of the desktop.
struct WindowPlace {
  std::uint32_t style;
  int x, y, w, h;
};
WindowPlace Framed_Window(std::uint32_t ex_style, int scale);

// Each hands out an adapter that holds the real COM object and rebuilds the real records from
// the seam's; the result codes are the real calls' own. `out` is not null, and is set only when
// the call succeeds.
HRESULT Create_DirectDraw(const Win32Options& options, IDirectDraw** out);
HRESULT Create_DirectSound(int volume, IDirectSound** out);  // volume: 0 to 100
HRESULT Create_DirectInput(std::uint32_t version, IDirectInput** out);

// The base of an adapter that owns one real COM object: the game's one Release of the adapter
// releases the object with it.
template <class Seam, class Real>
class Adapter : public Seam {
 public:
  std::uint32_t Release() override {
    real_->Release();
    delete this;
    return 0;
  }

 protected:
  explicit Adapter(Real* real) : real_(real) {}
  virtual ~Adapter() = default;
  Real* const real_;
};

// Counts the game's returns from being away (minimised, or out of the full-screen mode); the
// input devices forget what happened meanwhile.
void Note_Return();
std::uint32_t Returns();

// The host layer on Windows (win32_host_keys.cpp), started with the backend, before any adapter:
// the window's key messages go to it first, and the adapters carry out its answers, on the
// clock of GetTickCount64.
void Start_Host(const Win32Options& options);
host::HostLayer& Host();
// True when the key message was the host's and is not the game's.
bool Host_Key_Message(unsigned message, std::uintptr_t wp, std::intptr_t lp);
void Hide_Host_Keys(std::uint8_t* keyboard_state);  // DirectInput's 256 key bytes
bool Host_Paused();
bool Take_Screen_Switch();  // Alt+Enter or F11 since the last call

// Steering without a mouse (win32_steering.cpp): the host layer's sensitivity, steering keys and
// XInput pads, added to what DirectInput reads.
void Fire_Key(int change);            // the host layer's answer to Space: +1 down, -1 up
void Poll_Pads();                     // also while paused: a pad plugged in ends the pause it made
void Steer_Mouse(void* mouse_state);  // DirectInput's DIMOUSESTATE, as read
void Steer_Keyboard(std::uint8_t* keyboard_state);
bool Steer_Escape();  // a pad's Back held: Escape for GetAsyncKeyState

// DirectSound's side of the volume keys: every buffer's attenuation, now and from now on.
void Set_Sound_Volume(int percent);

}  // namespace plat::win32
