// The two sprite sheets of the game, drawn from scratch.
#pragma once

#include <string>

#include "tools/assetgen/image.h"

namespace assetgen {

// gfx.bmp: background tiles, ship, gun, balls, shot, life icon and bricks.
constexpr int GFX_W = 288, GFX_H = 192;
Image Make_Gfx_Sheet();

// ui.bmp: title and game-over pictures, HUD labels and the glyph strip. `font_dir` holds the
// TrueType fonts used for the lettering.
constexpr int UI_W = 480, UI_H = 520;
Image Make_Ui_Sheet(const std::string& font_dir);

// Shared drawing helpers.
float Round_Rect_Cover(float px, float py, float x0, float y0, float x1, float y1, float r);
float Disc_Cover(float px, float py, float cx, float cy, float r);

}  // namespace assetgen
