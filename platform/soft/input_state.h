// The keyboard and mouse as the host's events leave them, for the soft backend's devices.
#pragma once

#include <cstdint>

namespace plat::soft {

// The keyboard and mouse as the host's events leave them. Several readers look at it (the input
// devices and GetAsyncKeyState); a key or button pressed and released between two
// looks of a reader still reads as down once to that reader, so quick taps are never lost.
class InputState {
 public:
  enum Reader : std::uint8_t { DEVICE = 1, ASYNC = 2 };
  static constexpr int BUTTON_COUNT = 4;

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
  std::uint8_t button_down_[BUTTON_COUNT] = {};
  std::uint8_t button_latch_[BUTTON_COUNT] = {};
  std::int64_t dx_ = 0, dy_ = 0, dz_ = 0;
  bool close_requested_ = false;
};

}  // namespace plat::soft
