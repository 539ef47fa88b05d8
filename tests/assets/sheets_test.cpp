// The generated sprite sheets hold every picture the game draws, where it draws it from.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/soft/bmp.h"

namespace zorvex::testing {
namespace {

using plat::soft::Bitmap;
using plat::soft::To_565;

struct Rect {
  const char* what;
  int x, y, w, h;
  int min_visible_percent = 20;  // a minus sign fills much less of its cell than a sprite
};

std::vector<Rect> Gfx_Rects() {
  std::vector<Rect> all = {
      {"ship", 160, 0, 64, 16}, {"shot", 256, 0, 8, 8}, {"life icon", 264, 0, 16, 8}};
  for (int k = 0; k < 6; ++k) all.push_back({"tile", 64 * (k % 2), 64 * (k / 2), 64, 64});
  for (int k = 0; k < 5; ++k) all.push_back({"gun", 160 + 16 * k, 16, 16, 16});
  for (int k = 0; k < 8; ++k) all.push_back({"ball", 224 + 8 * (k % 4), 8 * (k / 4), 8, 8});
  for (int kind = 0; kind < 5; ++kind)
    for (int hits = 0; hits < 3; ++hits)
      all.push_back({"brick", 128 + 32 * kind, 48 + 16 * hits, 32, 16});
  return all;
}

int Glyph_X(char c) { return 13 * c - 573; }

std::vector<Rect> Ui_Rects() {
  std::vector<Rect> all = {{"title", 0, 0, 480, 160},
                           {"game over", 0, 160, 480, 120},
                           {"level label", 266, 476, 70, 20},
                           {"score label", 266, 500, 60, 20},
                           {"glyph -", Glyph_X('-'), 496, 13, 24, 5}};
  for (char c = '0'; c <= '9'; ++c) all.push_back({"glyph digit", Glyph_X(c), 496, 13, 24});
  return all;
}

Bitmap Load(const char* name) {
  Bitmap bmp;
  std::string why;
  std::string path = std::string(ZORVEX_DATA_DIR) + "/" + name;
  EXPECT_TRUE(plat::soft::Load_Bmp_File(path, &bmp, &why)) << path << ": " << why;
  return bmp;
}

std::uint32_t Px(const Bitmap& b, int x, int y) { return b.pixels[y * b.width + x]; }
bool Shows(const Bitmap& b, int x, int y) { return To_565(Px(b, x, y)) != 0; }

int Visible_Count(const Bitmap& b, const Rect& r) {
  int n = 0;
  for (int y = r.y; y < r.y + r.h; ++y)
    for (int x = r.x; x < r.x + r.w; ++x) n += Shows(b, x, y);
  return n;
}

bool Inside_Any(const std::vector<Rect>& rects, int x, int y) {
  for (const Rect& r : rects)
    if (x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h) return true;
  return false;
}

// Every rectangle shows something; nothing outside them is drawn; and no pixel is a dark
// colour that would silently turn transparent at 16 bits.
void Check_Layout(const Bitmap& b, const std::vector<Rect>& rects) {
  for (const Rect& r : rects) {
    ASSERT_LE(r.x + r.w, b.width) << r.what;
    ASSERT_LE(r.y + r.h, b.height) << r.what;
    EXPECT_GT(Visible_Count(b, r), r.w * r.h * r.min_visible_percent / 100)
        << r.what << " at " << r.x << "," << r.y;
  }
  int stray = 0, lost = 0;
  for (int y = 0; y < b.height; ++y) {
    for (int x = 0; x < b.width; ++x) {
      std::uint32_t p = Px(b, x, y);
      if (p != 0 && !Inside_Any(rects, x, y)) ++stray;
      if (p != 0 && To_565(p) == 0) ++lost;
    }
  }
  EXPECT_EQ(stray, 0) << "pixels drawn outside every rectangle";
  EXPECT_EQ(lost, 0) << "non-black pixels that become transparent at 16 bits";
}

// Both sheets, read once.
class GfxSheet : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { gfx = Load("gfx.bmp"), ui = Load("ui.bmp"); }
  void SetUp() override { ASSERT_TRUE(gfx.width > 0 && ui.width > 0); }
  static inline Bitmap gfx, ui;
};
using UiSheet = GfxSheet;

TEST_F(GfxSheet, EverySpriteIsInPlaceAndNothingElseIsDrawn) { Check_Layout(gfx, Gfx_Rects()); }

TEST_F(GfxSheet, RoundSpritesHaveTransparentCornersAndSolidCentres) {
  for (int i = 0; i < 8; ++i) {
    int x = 224 + 8 * (i % 4), y = 8 * (i / 4);
    EXPECT_EQ(Px(gfx, x, y), 0u) << "ball " << i;
    EXPECT_EQ(Px(gfx, x + 7, y + 7), 0u) << "ball " << i;
    for (int j = 2; j < 6; ++j) EXPECT_TRUE(Shows(gfx, x + j, y + j)) << "ball " << i;
  }
  EXPECT_EQ(Px(gfx, 160, 0), 0u) << "ship's corner";
  EXPECT_EQ(Px(gfx, 160, 16), 0u) << "gun's corner";
  // The gun's barrel must sit above the shot's column so the shot leaves from its muzzle.
  int shot_cols = 0;
  for (int x = 0; x < 8; ++x) shot_cols += Shows(gfx, 256 + x, 3) && Shows(gfx, 160 + x, 4);
  EXPECT_GT(shot_cols, 0);
}

double Diff(std::uint32_t a, std::uint32_t b) {
  double d = 0;
  for (int s = 0; s < 24; s += 8)
    d += std::abs(static_cast<int>((a >> s) & 255) - static_cast<int>((b >> s) & 255));
  return d;
}

// Mean step between column c and c + 1 (or row, when `rows`), the wrap being c = 63.
double Boundary(const Bitmap& b, int ox, int oy, int c, bool rows) {
  double sum = 0;
  for (int i = 0; i < 64; ++i) {
    int c2 = (c + 1) % 64;
    sum += rows ? Diff(Px(b, ox + i, oy + c), Px(b, ox + i, oy + c2))
                : Diff(Px(b, ox + c, oy + i), Px(b, ox + c2, oy + i));
  }
  return sum / 64;
}

// The step across the wrap must be no sharper than the sharpest boundary inside the tile
// (panels and weaves have edges of their own; a seam would stand out beyond them).
TEST_F(GfxSheet, TilesAreOpaqueDarkAndWrapWithoutASeam) {
  for (int k = 0; k < 6; ++k) {
    const int ox = 64 * (k % 2), oy = 64 * (k / 2);
    double light = 0;
    for (int i = 0; i < 64; ++i) {
      for (int j = 0; j < 64; ++j) {
        ASSERT_TRUE(Shows(gfx, ox + i, oy + j)) << "tile " << k << " hole at " << i << "," << j;
        light += Diff(Px(gfx, ox + i, oy + j), 0) / 3;
      }
    }
    for (bool rows : {false, true}) {
      double sharpest = 0, total = 0;
      for (int c = 0; c < 63; ++c) {
        double d = Boundary(gfx, ox, oy, c, rows);
        sharpest = std::max(sharpest, d);
        total += d;
      }
      EXPECT_GT(total / 63, 1.0) << "tile " << k << " is flat";
      EXPECT_LE(Boundary(gfx, ox, oy, 63, rows), 1.1 * sharpest + 1)
          << "tile " << k << (rows ? " top/bottom" : " left/right") << " seam";
    }
    EXPECT_LT(light / (64 * 64), 70.0) << "tile " << k << " is too bright for a background";
  }
}

int Differing(const Bitmap& b, const Rect& r1, const Rect& r2) {
  int n = 0;
  for (int y = 0; y < r1.h; ++y)
    for (int x = 0; x < r1.w; ++x) n += Px(b, r1.x + x, r1.y + y) != Px(b, r2.x + x, r2.y + y);
  return n;
}

TEST_F(GfxSheet, BrickFramesShowDamageAndGunFramesDiffer) {
  for (int kind = 0; kind < 5; ++kind) {
    Rect f0{"", 128 + 32 * kind, 48, 32, 16}, f1{"", f0.x, 64, 32, 16}, f2{"", f0.x, 80, 32, 16};
    EXPECT_GT(Differing(gfx, f0, f1), 8) << "kind " << kind;
    EXPECT_GT(Differing(gfx, f1, f2), 8) << "kind " << kind;
    if (kind > 0) {
      EXPECT_GT(Differing(gfx, f0, {"", f0.x - 32, 48, 32, 16}), 100) << "kind " << kind;
    }
  }
  Rect idle{"", 160, 16, 16, 16};
  for (int k = 1; k < 4; ++k)
    EXPECT_GT(Differing(gfx, idle, {"", 160 + 16 * k, 16, 16, 16}), 4) << k;
}

TEST_F(UiSheet, EveryPictureIsInPlaceAndNothingElseIsDrawn) {
  Check_Layout(ui, Ui_Rects());
  // The first level digit is drawn 55 pixels into the 70-pixel level label: that part of the
  // label must stay clear so the two never overlap on screen.
  EXPECT_EQ(Visible_Count(ui, {"", 266 + 55, 476, 15, 20}), 0);
}

// Each glyph fills part of its cell, centred, and no two glyphs look alike.
TEST_F(UiSheet, GlyphCellsHoldTheirCharactersCentred) {
  const std::string chars = "-0123456789";
  for (char c : chars) {
    int x0 = 99, y0 = 99, x1 = -1, y1 = -1;
    for (int y = 0; y < 24; ++y) {
      for (int x = 0; x < 13; ++x) {
        if (!Shows(ui, Glyph_X(c) + x, 496 + y)) continue;
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
      }
    }
    ASSERT_GE(x1, 0) << "glyph '" << c << "' is empty";
    EXPECT_NEAR((x0 + x1) / 2.0, 6.0, 1.0) << "glyph '" << c << "' horizontal centre";
    EXPECT_NEAR((y0 + y1) / 2.0, 11.5, 1.5) << "glyph '" << c << "' vertical centre";
    if (c != '-' && c != '1') {
      EXPECT_GE(x1 - x0 + 1, 7) << "glyph '" << c << "' too narrow";
    }
    if (c != '-') {
      EXPECT_GE(y1 - y0 + 1, 12) << "glyph '" << c << "' too short";
    }
  }
  for (size_t i = 0; i < chars.size(); ++i) {
    for (size_t j = i + 1; j < chars.size(); ++j) {
      Rect a{"", Glyph_X(chars[i]), 496, 13, 24}, b{"", Glyph_X(chars[j]), 496, 13, 24};
      EXPECT_GT(Differing(ui, a, b), 10) << chars[i] << " and " << chars[j] << " look alike";
    }
  }
}

}  // namespace
}  // namespace zorvex::testing
