// The one hit test of the play field.
#pragma once

#include <cstdint>

namespace zorvex {

// 1 when the bottom-right corner of the first rectangle lies strictly inside the second.
int Rects_Overlap(std::int32_t x1, std::int32_t y1, std::int32_t w1, std::int32_t h1,
                  std::int32_t x2, std::int32_t y2, std::int32_t w2, std::int32_t h2);

}  // namespace zorvex
