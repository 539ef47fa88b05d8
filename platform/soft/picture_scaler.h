// Puts a 16-bit 5-6-5 picture on a 32-bit output (a window's own pixels) scaled by nearest
// neighbour, converting each source pixel once and writing each output pixel once. No SDL.
#pragma once

#include <cstdint>
#include <vector>

namespace plat::soft {

struct Placement {
  int x = 0, y = 0, w = 0, h = 0;
  bool operator==(const Placement&) const = default;
};

// Where a pic_w x pic_h picture lands on an out_w x out_h output, centred with black bars:
// scaled by a whole factor where at least twice the picture fits (crisp pixels), otherwise as
// large as fits with its shape kept.
Placement Place_Picture(int pic_w, int pic_h, int out_w, int out_h);

// How 8-bit channels sit in a 32-bit output pixel; `fixed` is or-ed in (an opaque alpha).
struct PixelLayout {
  int red_shift = 16, green_shift = 8, blue_shift = 0;
  std::uint32_t fixed = 0xFF000000u;
};

// Widens 5-6-5 to 8-bit channels by repeating the top bits, so white stays white.
std::uint32_t Widen_565(std::uint16_t pixel, const PixelLayout& layout);

class PictureScaler {
 public:
  // Lays out a pic_w x pic_h picture on an out_w x out_h output. Call again when either changes.
  void Set_Up(int pic_w, int pic_h, int out_w, int out_h, const PixelLayout& layout);
  const Placement& Where() const { return place_; }
  // Writes the picture (pitch pic_w pixels) into its placement on `out` (pitch in bytes);
  // the bars around it are left alone.
  void Draw(const std::uint16_t* picture, std::uint32_t* out, std::size_t out_pitch) const;

 private:
  int pic_w_ = 0, pic_h_ = 0;
  Placement place_;
  PixelLayout layout_;
  int factor_ = 0;              // whole factor, or 0 when the map below is used
  std::vector<int> column_of_;  // output column -> source column
  std::vector<int> row_of_;     // output row -> source row
  mutable std::vector<std::uint32_t> wide_, row_;
};

}  // namespace plat::soft
