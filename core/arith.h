// Integer helpers for sums that the game keeps in 32 bits. The play field never overflows in
// normal play, but a score after very long play or an absurd position must not be undefined
// behaviour: these wrap around modulo 2^32 as the 32-bit machine the game was made for did.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace zorvex {

constexpr std::int32_t Wrap_Add(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

constexpr std::int32_t Wrap_Sub(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

constexpr std::int32_t Wrap_Mul(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

// Truncation toward zero, saturated at the 32-bit range (and 0 for NaN) so that a value that
// has drifted out of range converts safely.
inline std::int32_t Trunc_Int(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

}  // namespace zorvex
