// The generated sprite sheets hold every picture the game draws, where it draws it from, on the
// transparent key colour.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/soft/bmp.h"

namespace zorvex::testing {
namespace {

using plat::soft::Bitmap;
using plat::soft::To_565;

struct Rect {
  const char* what;  // frames of one kind must all look different
  int x, y, w, h;
  int min_visible_percent = 20;  // a minus sign fills much less of its cell than a sprite
};

int Glyph_X(char c) { return 13 * c - 573; }

Bitmap Load(const char* name) {
  Bitmap bmp;
  std::string why;
  std::string path = std::string(ZORVEX_DATA_DIR) + "/" + name;
  EXPECT_TRUE(plat::soft::Load_Bmp_File(path, &bmp, &why)) << path << ": " << why;
  return bmp;
}

std::uint32_t Px(const Bitmap& b, int x, int y) { return b.pixels[y * b.width + x]; }
bool Shows(const Bitmap& b, int x, int y) { return To_565(Px(b, x, y)) != 0; }

// Every rectangle shows enough and differs from the other frames of its kind; nothing outside
// them is drawn; and no pixel is a dark colour that would silently turn transparent at 16 bits.
void Check_Layout(const Bitmap& b, const std::vector<Rect>& rects) {
  std::map<std::string, std::set<std::vector<std::uint32_t>>> looks;
  std::map<std::string, std::size_t> frames;
  std::vector<bool> covered(b.pixels.size());
  for (const Rect& r : rects) {
    ASSERT_LE(r.x + r.w, b.width) << r.what;
    ASSERT_LE(r.y + r.h, b.height) << r.what;
    std::vector<std::uint32_t> cell;
    int visible = 0;
    for (int y = r.y; y < r.y + r.h; ++y) {
      for (int x = r.x; x < r.x + r.w; ++x) {
        cell.push_back(Px(b, x, y));
        visible += Shows(b, x, y);
        covered[y * b.width + x] = true;
      }
    }
    EXPECT_GE(visible * 100, r.w * r.h * r.min_visible_percent)
        << r.what << " at " << r.x << "," << r.y;
    looks[r.what].insert(cell);
    ++frames[r.what];
  }
  for (const auto& [what, n] : frames) EXPECT_EQ(looks[what].size(), n) << what << " frames alike";
  int stray = 0, lost = 0;
  for (std::size_t i = 0; i < b.pixels.size(); ++i) {
    stray += b.pixels[i] != 0 && !covered[i];
    lost += b.pixels[i] != 0 && To_565(b.pixels[i]) == 0;
  }
  EXPECT_EQ(stray, 0) << "pixels drawn outside every rectangle";
  EXPECT_EQ(lost, 0) << "non-black pixels that become transparent at 16 bits";
}

// Both sheets, read once.
class GfxSheet : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    gfx = Load("gfx.bmp");
    ui = Load("ui.bmp");
  }
  void SetUp() override { ASSERT_TRUE(gfx.width > 0 && ui.width > 0); }
  static inline Bitmap gfx, ui;
};
using UiSheet = GfxSheet;

TEST_F(GfxSheet, EverySpriteIsInPlaceAndNothingElseIsDrawn) {
  std::vector<Rect> all = {
      {"ship", 160, 0, 64, 16}, {"shot", 256, 0, 8, 8}, {"life icon", 264, 0, 16, 8}};
  // Tiles are drawn keyed too, so a hole in one would show the frame before.
  for (int k = 0; k < 6; ++k) all.push_back({"tile", 64 * (k % 2), 64 * (k / 2), 64, 64, 100});
  for (int k = 0; k < 5; ++k) all.push_back({"gun", 160 + 16 * k, 16, 16, 16});
  for (int k = 0; k < 8; ++k) all.push_back({"ball", 224 + 8 * (k % 4), 8 * (k / 4), 8, 8});
  for (int kind = 0; kind < 5; ++kind)
    for (int hits = 0; hits < 3; ++hits)
      all.push_back({"brick", 128 + 32 * kind, 48 + 16 * hits, 32, 16});
  Check_Layout(gfx, all);
  // The gun's barrel must sit above the shot's column so the shot leaves from its muzzle.
  int shot_cols = 0;
  for (int x = 0; x < 8; ++x) shot_cols += Shows(gfx, 256 + x, 3) && Shows(gfx, 160 + x, 4);
  EXPECT_GT(shot_cols, 0);
}

TEST_F(UiSheet, EveryPictureIsInPlaceAndNothingElseIsDrawn) {
  std::vector<Rect> all = {{"title", 0, 0, 480, 160},
                           {"game over", 0, 160, 480, 120},
                           {"level label", 266, 476, 70, 20},
                           {"score label", 266, 500, 60, 20},
                           {"glyph -", Glyph_X('-'), 496, 13, 24, 5}};
  for (char c = '0'; c <= '9'; ++c) all.push_back({"glyph digit", Glyph_X(c), 496, 13, 24});
  Check_Layout(ui, all);
  // The first level digit is drawn 55 pixels into the 70-pixel level label: that part of the
  // label must stay clear so the two never overlap on screen.
  for (int y = 476; y < 496; ++y)
    for (int x = 266 + 55; x < 266 + 70; ++x) ASSERT_FALSE(Shows(ui, x, y)) << x << "," << y;
  // Glyphs sit centred in their cells, as the score is drawn cell by cell.
  for (char c : std::string("-0123456789")) {
    int x0 = 99, y0 = 99, x1 = -1, y1 = -1;
    for (int y = 0; y < 24; ++y) {
      for (int x = 0; x < 13; ++x) {
        if (!Shows(ui, Glyph_X(c) + x, 496 + y)) continue;
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
      }
    }
    EXPECT_NEAR((x0 + x1) / 2.0, 6.0, 1.0) << "glyph '" << c << "' horizontal centre";
    EXPECT_NEAR((y0 + y1) / 2.0, 11.5, 1.5) << "glyph '" << c << "' vertical centre";
  }
}

}  // namespace
}  // namespace zorvex::testing
