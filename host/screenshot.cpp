#include "host/screenshot.h"

#include <vector>

#include "host/png_encode.h"
#include "platform/files/whole_file.h"
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
  const std::vector<std::uint8_t> png = Encode_Png(rgb.data(), width, height, 3);
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
    switch (plat::files::Write_Whole_File(path, png.data(), png.size(), plat::files::Replace::NEVER,
                                          &error)) {
      case plat::files::Written::WRITTEN:
        return *result = path, true;
      case plat::files::Written::FAILED:
        return *result = error, false;
      case plat::files::Written::NAME_TAKEN:
        break;  // taken this second: the next number
    }
  }
  *result = "too many pictures this second";
  return false;
}

}  // namespace host
