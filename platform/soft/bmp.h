// Reading Windows bitmap files into plain 24-bit pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace plat::soft {

struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first
};

// Decodes a BMP held in memory (1, 4, 8, 16, 24 or 32 bits per pixel). On failure returns false
// and says why; never reads outside `data`.
bool Decode_Bmp(const std::uint8_t* data, std::size_t size, Bitmap* out, std::string* why);
bool Load_Bmp_File(const std::string& path, Bitmap* out, std::string* why);

// The display's 16-bit format: 5 bits red, 6 green, 5 blue.
constexpr std::uint16_t To_565(std::uint32_t rgb) {
  return static_cast<std::uint16_t>(((rgb >> 8) & 0xF800) | ((rgb >> 5) & 0x07E0) |
                                    ((rgb >> 3) & 0x001F));
}

}  // namespace plat::soft
