// Pixel stores and the blitter under the soft DirectDraw surfaces.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win_types.h"

namespace plat::soft {

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint16_t> data;  // pitch = width
  std::uint16_t* Row(int y) { return data.data() + static_cast<std::size_t>(y) * width; }
  const std::uint16_t* Row(int y) const {
    return data.data() + static_cast<std::size_t>(y) * width;
  }
};

// A rectangle in 64-bit coordinates, so sums of 32-bit inputs never overflow.
struct Box {
  std::int64_t left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  bool Inside(const Box& o) const {
    return left >= o.left && top >= o.top && right <= o.right && bottom <= o.bottom;
  }
};
Box To_Box(const RECT& r);
Box Intersect(const Box& a, const Box& b);

void Fill_Box(Pixels* dst, const Box& box, std::uint16_t colour);
// Copies the `w` x `h` block at (sx, sy) of `src` to (dx, dy) of `dst`; with `keyed`, source
// pixels equal to `key` are left out. Everything must already lie inside both stores.
void Copy_Block(Pixels* dst, int dx, int dy, const Pixels& src, int sx, int sy, int w, int h,
                bool keyed, std::uint16_t key);

}  // namespace plat::soft
