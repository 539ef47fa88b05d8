// The one hit test of the play field.
#pragma once

#include <cstdint>

#include "core/arith.h"

namespace zorvex {

// 1 when the bottom-right corner of the first rectangle lies strictly inside the second.
// Inline: every ball and shot asks it of every brick each frame.
inline int Rects_Overlap(std::int32_t x1, std::int32_t y1, std::int32_t w1, std::int32_t h1,
                         std::int32_t x2, std::int32_t y2, std::int32_t w2, std::int32_t h2) {
  const std::int32_t corner_x = Wrap_Add(x1, w1);
  const std::int32_t corner_y = Wrap_Add(y1, h1);
  return x2 < corner_x && y2 < corner_y && corner_x < Wrap_Add(x2, w2) &&
                 corner_y < Wrap_Add(y2, h2)
             ? 1
             : 0;
}

}  // namespace zorvex
