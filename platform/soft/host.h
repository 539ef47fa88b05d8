// What the soft backend needs from the machine it runs on: a clock, a window to show frames in,
// the user's keys, mouse and close requests, and somewhere to send sound.
#pragma once

#include <cstdint>

#include "platform/soft/audio_sink.h"
#include "platform/soft/input_state.h"

namespace plat::soft {

class Host {
 public:
  virtual ~Host() = default;
  // The system's millisecond tick count: from the machine's start, wrapping at 32 bits.
  virtual std::uint32_t Ticks() = 0;
  // Opens the one game window; false when it cannot.
  virtual bool Open_Window(const char* title, int width, int height) = 0;
  // Moves what has happened since the last call into `input`; never waits.
  virtual void Pump_Events(InputState* input) = 0;
  // Like Pump_Events, but first sleeps until something happens or `timeout_ms` has passed.
  virtual void Wait_Events(InputState* input, int timeout_ms) = 0;
  // False while the window is minimised or has lost focus.
  virtual bool Visible() = 0;
  // Shows a frame of 16-bit 5-6-5 pixels (pitch = width) and waits for the next frame slot.
  virtual void Present(const std::uint16_t* pixels, int width, int height) = 0;
  // Where sound goes; null when there is none.
  virtual AudioSink* Audio_Sink() = 0;
};

}  // namespace plat::soft
