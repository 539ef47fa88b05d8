#include "host/steering.h"

#include <algorithm>
#include <cmath>

namespace host {

Sensitivity::Sensitivity(int percent)
    : percent_(std::clamp(percent, MIN_SENSITIVITY, MAX_SENSITIVITY)) {}

std::int32_t Sensitivity::Scale(std::int32_t counts) {
  const std::int64_t hundredths = std::int64_t{counts} * percent_ + carry_;
  // Toward zero, so that a fraction carried one way is cancelled by motion back the other way
  // rather than rounded into a count.
  const std::int64_t whole = hundredths / 100;
  carry_ = hundredths - whole * 100;
  return static_cast<std::int32_t>(whole);
}

namespace {

// One count a frame at 60 frames a second.
constexpr double START_PER_MS = 60.0 / 1000.0;
// Counts per ms per ms squared: chosen so that the field is crossed in about half a second.
constexpr double RISE = 16000.0 / 1e9;
constexpr double TOP_PER_MS = 2400.0 / 1000.0;  // 40 counts a frame

}  // namespace

double Key_Steering_Distance(double ms) {
  if (ms < 0) return 0;
  // speed(t) = start + rise t^2 until it reaches the top.
  const double top_at = std::sqrt((TOP_PER_MS - START_PER_MS) / RISE);
  const double t = std::min(ms, top_at);
  const double rising = START_PER_MS * t + RISE * t * t * t / 3;
  // The first count comes with the press, so that the shortest tap moves the ship a pixel.
  return 1 + rising + TOP_PER_MS * (ms - t);
}

int KeySteering::Key(SteerKey key, bool down, bool repeat, std::uint64_t now_ms) {
  if (repeat) return 0;
  switch (key) {
    case SteerKey::LEFT:
      left_ = down;
      break;
    case SteerKey::RIGHT:
      right_ = down;
      break;
    case SteerKey::FIRE:
      if (fire_ == down) return 0;
      fire_ = down;
      return down ? 1 : -1;
    case SteerKey::NONE:
      return 0;
  }
  if (Direction() != direction_) Restart(now_ms);
  return 0;
}

void KeySteering::Restart(std::uint64_t now_ms) {
  // The run that ends is counted to this moment, so a tap or a hold let go between two looks
  // still moves the ship as far as it was held.
  pending_ += Advance(now_ms);
  direction_ = Direction();
  start_ms_ = now_ms;
  given_ = 0;
}

std::int64_t KeySteering::Advance(std::uint64_t now_ms) {
  if (direction_ == 0 || now_ms < start_ms_) return 0;
  const auto total = static_cast<std::int64_t>(
      std::floor(Key_Steering_Distance(static_cast<double>(now_ms - start_ms_))));
  // A key's time may come before the last look: nothing is taken back; and far more than
  // the field between two looks is as good as the field.
  const std::int64_t step = std::clamp<std::int64_t>(total - given_, 0, 1 << 20);
  given_ += step;
  return step * direction_;
}

std::int32_t KeySteering::Motion(std::uint64_t now_ms) {
  const std::int64_t motion =
      std::clamp<std::int64_t>(pending_ + Advance(now_ms), -(1 << 20), 1 << 20);
  pending_ = 0;
  return static_cast<std::int32_t>(motion);
}

int KeySteering::Release() {
  const bool fired = fire_;
  left_ = right_ = fire_ = false;
  direction_ = 0;
  given_ = 0;
  pending_ = 0;
  return fired ? -1 : 0;
}

}  // namespace host
