#include "game/hud.h"

#include <cstdio>

#include "core/arith.h"
#include "game/state.h"
#include "gfx/display.h"
#include "gfx/sprites.h"

namespace zorvex {

namespace {

constexpr int GLYPH_ROW = 496;
constexpr int GLYPH_W = 13;
constexpr int GLYPH_H = 24;
constexpr int GLYPH_ADVANCE = 14;

constexpr std::int32_t LIFE_ICONS_ON_SCREEN = 40;  // icon 40 would start at x 645

// Kept quirk: one icon per life plus one. Icons that would start beyond the right edge are not
// drawn, so an absurd count neither loops for ever nor overflows the index.
void Draw_Lives() {
  for (std::int32_t i = 0; i <= lives && i < LIFE_ICONS_ON_SCREEN; ++i) {
    Blit_Sprite(lpddsback, 5 + 16 * i, 470, 16, 8, 264, 0, lpddsgfx);
  }
}

}  // namespace

int Draw_Hud() {
  Blit_Sprite(lpddsback, 5, 5, 60, 20, 266, 500, lpddssys);
  Draw_Number(64, 5, score);
  Blit_Sprite(lpddsback, 530, 5, 70, 20, 266, 476, lpddssys);
  Draw_Number(585, 5, level);
  Draw_Lives();
  return 0;
}

int Draw_Number(std::int32_t x, std::int32_t y, std::int32_t value) {
  char text[25];  // a fixed local buffer: no allocation per frame
  std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  for (int k = 0; text[k] != '\0'; ++k) {
    const int code = static_cast<unsigned char>(text[k]);
    Blit_Sprite(lpddsback, Wrap_Add(x, GLYPH_ADVANCE * k), y, GLYPH_W, GLYPH_H,
                GLYPH_W * code - 573, GLYPH_ROW, lpddssys);
  }
  return 0;
}

}  // namespace zorvex
