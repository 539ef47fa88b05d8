// The player's output volume, applied to the finished mix on its way to the device.
#pragma once

#include <cstdint>

namespace plat::soft {

constexpr int FULL_VOLUME = 100;

// Scales `count` samples by percent / 100 (0 silences, 100 leaves them as they are); the
// amplitude follows the percentage in a straight line.
void Apply_Volume(std::int16_t* samples, int count, int percent);

}  // namespace plat::soft
