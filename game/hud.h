// The heads-up display: score, level and the lives left.
#pragma once

#include <cstdint>

namespace zorvex {

int Draw_Hud();
int Draw_Number(std::int32_t x, std::int32_t y, std::int32_t value);

}  // namespace zorvex
