// What the Windows backend's own files share. Speaks only the seam's types, so that <windows.h>
// stays inside the .cpp files that need it.
#pragma once

#include <cstdint>

#include "platform/os.h"

namespace plat::win32 {

struct DisplayOptions {
  bool windowed = false;
};

// Each hands out an adapter that holds the real COM object and rebuilds the real records from
// the seam's; the result codes are the real calls' own.
HRESULT Create_DirectDraw(const DisplayOptions& options, IDirectDraw** out);
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

}  // namespace plat::win32
