// What the soft backend needs from the machine it runs on: a clock, a window to show frames in,
// the user's keys, mouse and close requests, and somewhere to send sound.
#pragma once

#include <cstdint>

#include "platform/soft/audio_sink.h"

namespace plat::soft {

// The keyboard and mouse as the host's events leave them. Several readers look at it (the input
// devices and GetAsyncKeyState); a key or button pressed and released between two
// looks of a reader still reads as down once to that reader, so quick taps are never lost.
class InputState {
 public:
  enum Reader : std::uint8_t { kDevice = 1, kAsync = 2 };
  static constexpr int kButtons = 4;

  void Key(int code, bool down);  // code: a DirectInput key code (0..255)
  void Button(int index, bool down);
  void Motion(std::int32_t dx, std::int32_t dy, std::int32_t dz);
  void Drop_Motion();
  void Release_All();  // everything up, as when the window loses focus
  void Request_Close() { close_requested_ = true; }

  bool Key_Down(int code, Reader reader);
  bool Button_Down(int index, Reader reader);
  // The motion gathered since the last take, which is then forgotten.
  void Take_Motion(std::int32_t* dx, std::int32_t* dy, std::int32_t* dz);
  bool Take_Close();

 private:
  std::uint8_t key_down_[256] = {};
  std::uint8_t key_latch_[256] = {};
  std::uint8_t button_down_[kButtons] = {};
  std::uint8_t button_latch_[kButtons] = {};
  std::int64_t dx_ = 0, dy_ = 0, dz_ = 0;
  bool close_requested_ = false;
};

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
