// The scrolling background and the heads-up display.
#pragma once

#include "game/types.h"

namespace zorvex {

extern double scroll_y;
extern Timer scroll_timer;

int Draw_Back();
int Draw_Hud();
int Draw_Number(std::int32_t x, std::int32_t y, std::int32_t value);

}  // namespace zorvex
