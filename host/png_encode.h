// PNG encoding for the screenshots and the installed icons. No SDL here.
#pragma once

#include <cstdint>
#include <vector>

namespace host {

// An 8-bit PNG of `width` x `height` pixels given top row first, `channels` bytes a pixel:
// 3 for RGB, 4 for RGBA.
std::vector<std::uint8_t> Encode_Png(const std::uint8_t* pixels, int width, int height,
                                     int channels);

}  // namespace host
