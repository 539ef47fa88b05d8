#include "platform/soft/input_state.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace plat::soft {

namespace {

constexpr std::uint8_t ALL_READERS = InputState::DEVICE | InputState::ASYNC;

std::int32_t Clamp32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Keeps the running sums far from overflow however long nobody reads them.
std::int64_t Add_Motion(std::int64_t sum, std::int32_t delta) {
  constexpr std::int64_t LIMIT = std::int64_t{1} << 40;
  return std::clamp<std::int64_t>(sum + delta, -LIMIT, LIMIT);
}

bool Read_Latched(std::uint8_t down, std::uint8_t* latch, InputState::Reader reader) {
  bool result = down || (*latch & reader);
  *latch = static_cast<std::uint8_t>(*latch & ~reader);
  return result;
}

}  // namespace

void InputState::Key(int code, bool down) {
  if (code < 0 || code > 255) return;
  key_down_[code] = down;
  if (down) key_latch_[code] = ALL_READERS;
}

void InputState::Button(int index, bool down) {
  if (index < 0 || index >= BUTTON_COUNT) return;
  button_down_[index] = down;
  if (down) button_latch_[index] = ALL_READERS;
}

void InputState::Motion(std::int32_t dx, std::int32_t dy, std::int32_t dz) {
  dx_ = Add_Motion(dx_, dx);
  dy_ = Add_Motion(dy_, dy);
  dz_ = Add_Motion(dz_, dz);
}

void InputState::Drop_Motion() { dx_ = dy_ = dz_ = 0; }

void InputState::Release_All() {
  std::fill(std::begin(key_down_), std::end(key_down_), 0);
  std::fill(std::begin(key_latch_), std::end(key_latch_), 0);
  std::fill(std::begin(button_down_), std::end(button_down_), 0);
  std::fill(std::begin(button_latch_), std::end(button_latch_), 0);
}

bool InputState::Key_Down(int code, Reader reader) {
  if (code < 0 || code > 255) return false;
  return Read_Latched(key_down_[code], &key_latch_[code], reader);
}

bool InputState::Button_Down(int index, Reader reader) {
  if (index < 0 || index >= BUTTON_COUNT) return false;
  return Read_Latched(button_down_[index], &button_latch_[index], reader);
}

void InputState::Take_Motion(std::int32_t* dx, std::int32_t* dy, std::int32_t* dz) {
  *dx = Clamp32(dx_);
  *dy = Clamp32(dy_);
  *dz = Clamp32(dz_);
  Drop_Motion();
}

bool InputState::Take_Close() {
  bool requested = close_requested_;
  close_requested_ = false;
  return requested;
}

}  // namespace plat::soft
