// Scripted input as a layer over any backend. ScriptOs hands every call of the seam to the backend
// beneath, except the tick count, the keyboard and mouse devices and Escape's
// GetAsyncKeyState: while a frame is pinned those answer from it. Replays, recordings, the
// autopilot and traces pin one frame at a time, so a backend that implements only the
// Windows-shaped calls gets all of them.
#pragma once

#include "platform/os.h"

namespace plat::script {

// One frame's worth of input and time, for replays, recordings and the autopilot.
struct FrameInput {
  std::uint32_t tick = 0;
  std::int32_t dx = 0;
  bool lmb = false;
  bool enter = false;
  bool esc = false;
};

class ScriptOs final : public OsLayer {
 public:
  explicit ScriptOs(Os& inner) : OsLayer(inner) {}

  // From now on every clock read and device poll answers from `frame`, until Unpin().
  void Pin(const FrameInput& frame);
  void Unpin() { pinned_ = false; }
  bool Pinned() const { return pinned_; }
  // Reads the backend's live clock and the game's own keyboard and mouse once: the tick, the
  // mouse motion since the last read, the left button, Enter and Escape. Devices the game has
  // not made (or could not make) read as nothing pressed.
  FrameInput Sample();

  std::int16_t GetAsyncKeyState(int virtual_key) override;
  std::uint32_t GetTickCount() override;
  HRESULT DirectInputCreateA(HINSTANCE instance, std::uint32_t version, IDirectInput** out,
                             void* outer) override;

  // Used by the devices this layer hands out.
  const FrameInput* Pinned_Frame() const { return pinned_ ? &frame_ : nullptr; }
  void Device_Made(IDirectInputDevice* inner, bool keyboard);
  void Device_Gone(IDirectInputDevice* inner);

 private:
  bool pinned_ = false;
  FrameInput frame_;
  IDirectInputDevice* keyboard_ = nullptr;  // the game's devices, as the backend made them
  IDirectInputDevice* mouse_ = nullptr;
};

}  // namespace plat::script
