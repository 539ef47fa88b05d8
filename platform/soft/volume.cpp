#include "platform/soft/volume.h"

#include <cstring>

namespace plat::soft {

void Apply_Volume(std::int16_t* samples, int count, int percent) {
  if (percent >= FULL_VOLUME || count <= 0) return;
  if (percent <= 0) {
    std::memset(samples, 0, static_cast<std::size_t>(count) * sizeof(std::int16_t));
    return;
  }
  // 16-bit fraction: |sample| * gain stays below 2^31, and the shift rounds towards zero's
  // side for both signs alike, so a quieter mix is never louder than the full one.
  const std::int32_t gain = percent * 65536 / FULL_VOLUME;
  for (int i = 0; i < count; ++i) {
    const std::int32_t s = samples[i];
    samples[i] = static_cast<std::int16_t>(s >= 0 ? (s * gain) >> 16 : -((-s * gain) >> 16));
  }
}

}  // namespace plat::soft
