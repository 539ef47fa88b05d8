// The scrolling background: one tile from the sprite sheet repeated over the screen.
#pragma once

#include <cstdint>

#include "core/types.h"

namespace zorvex {

// Where a background tile sits on the sprite sheet.
struct TileRect {
  std::int32_t sx, sy, w, h;
};

// Play state kept by the background (reset with the rest by Reset_Play_State):
extern double scroll_y;     // downward offset of the tile grid, 1 to 63 pixels
extern Timer scroll_timer;  // steps scroll_y a pixel each time it runs out (every 2 ms)
extern TileRect back_tile;  // the level's tile, chosen by Start_Level

int Draw_Back();

}  // namespace zorvex
