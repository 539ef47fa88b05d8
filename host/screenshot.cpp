#include "host/screenshot.h"

#include <cerrno>
#include <vector>

#include "platform/png/png_file.h"
#include "platform/soft/picture_scaler.h"

namespace host {

namespace {

constexpr int MAX_SAME_SECOND = 100;  // names tried within one second before giving up

// Each channel widened to 8 bits as the window's own pixels are, so white stays 255.
std::vector<std::uint8_t> To_Rgb(const std::uint16_t* pixels, int width, int height) {
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
  for (std::size_t i = 0, n = static_cast<std::size_t>(width) * height; i < n; ++i) {
    const std::uint32_t wide =
        plat::soft::Widen_565(pixels[i], plat::soft::PixelLayout{16, 8, 0, 0});
    rgb[i * 3] = static_cast<std::uint8_t>(wide >> 16);
    rgb[i * 3 + 1] = static_cast<std::uint8_t>(wide >> 8);
    rgb[i * 3 + 2] = static_cast<std::uint8_t>(wide);
  }
  return rgb;
}

}  // namespace

bool Save_Screenshot(const std::uint16_t* pixels, int width, int height, const std::string& dir,
                     std::string* result) {
  const std::vector<std::uint8_t> rgb = To_Rgb(pixels, width, height);
  const std::vector<std::uint8_t> png = plat::png::Encode(rgb.data(), width, height, 3);
  std::string base = dir;
  if (!base.empty() && base.back() != '/' && base.back() != '\\') base += '/';
  base += Screenshot_Stem();
  for (int n = 1; n <= MAX_SAME_SECOND; ++n) {
    std::string path = base;
    if (n > 1) {
      path += '-';
      path += std::to_string(n);
    }
    path += ".png";
    std::string error;
    if (plat::png::Write_New_File(path, png, &error)) {
      *result = path;
      return true;
    }
    if (errno != EEXIST) {
      *result = error;
      return false;
    }
  }
  *result = "too many pictures this second";
  return false;
}

}  // namespace host
