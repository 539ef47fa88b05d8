#include "gfx/background.h"

#include "core/arith.h"
#include "core/log.h"
#include "core/tick.h"
#include "gfx/display.h"
#include "gfx/sprites.h"

namespace zorvex {

double scroll_y = 0.0;
Timer scroll_timer;
TileRect back_tile;

namespace {

void Scroll_Step() {
  const std::uint32_t now = Stamp_Tick();
  if (now - scroll_timer.tick < scroll_timer.interval) return;
  // Kept quirk: modulus 63, not 64, so once a cycle the tiles jump two pixels.
  scroll_y = Trunc_Int(scroll_y) % 63 + 1;
  scroll_timer.tick = Stamp_Tick();
}

}  // namespace

int Draw_Back() {
  int result = 1;
  // A 12 x 9 grid one tile beyond every edge covers the screen whatever the offset.
  for (int i = -1; i <= 10; ++i) {
    for (int j = -1; j <= 7; ++j) {
      result = Blit_Sprite(lpddsback, 64 * i, Trunc_Int(64 * j + scroll_y), back_tile.w,
                           back_tile.h, back_tile.sx, back_tile.sy, lpddsgfx);
    }
  }
  Scroll_Step();
  // Kept quirk: only the last tile's result is looked at.
  if (result == 0) Log_Error(" Draw_Back Blt Err");
  return 0;
}

}  // namespace zorvex
