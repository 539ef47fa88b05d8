#include <string>

#include "display_fixture.h"

namespace zorvex::testing {
namespace {

int Count_Not(const std::vector<std::uint16_t>& p, std::uint16_t value) {
  int n = 0;
  for (auto v : p) n += v != value;
  return n;
}

TEST_F(DisplayTest, TextDrawsInItsColourOnATransparentBackground) {
  Fill(back, RECT{0, 0, 640, 480}, 0x0841);
  HDC dc = nullptr;
  ASSERT_EQ(back->GetDC(&dc), DD_OK);
  SetTextColor(dc, 0x0000FF);  // red
  SetBkMode(dc, TRANSPARENT);
  ASSERT_TRUE(TextOutA(dc, 100, 200, "Blt Failed: -5", 14));
  ASSERT_EQ(back->ReleaseDC(dc), DD_OK);

  auto px = test_double::TestBackend::Pixels_Of(back);
  int full = 0, touched = 0, min_x = 640, min_y = 480, max_y = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      std::uint16_t v = px[y * 640 + x];
      if (v == 0x0841) continue;
      ++touched;
      full += v == 0xF800;
      min_x = std::min(min_x, x);
      min_y = std::min(min_y, y);
      max_y = std::max(max_y, y);
      EXPECT_LE(v & 0x001F, 0x0001) << "blending toward red never adds blue";
      EXPECT_GE(v >> 11, 0x01) << "nor takes red away";
    }
  EXPECT_GT(full, 40) << "solid strokes come out in exactly the text colour";
  EXPECT_GT(touched, full) << "edges are anti-aliased";
  EXPECT_GE(min_x, 100);
  EXPECT_LT(min_x, 104);
  EXPECT_GE(min_y, 200) << "(x, y) is the top-left of the line";
  EXPECT_LT(max_y, 200 + 20);
}

TEST_F(DisplayTest, TextEdgeCases) {
  HDC dc = nullptr;
  ASSERT_EQ(back->GetDC(&dc), DD_OK);
  SetTextColor(dc, 0xFFFFFF);
  SetBkMode(dc, TRANSPARENT);
  EXPECT_TRUE(TextOutA(dc, 10, 10, "", 0));
  EXPECT_EQ(Count_Not(test_double::TestBackend::Pixels_Of(back), 0), 0) << "empty text draws nothing";
  // Control characters are not interpreted: no line break, no mark.
  EXPECT_TRUE(TextOutA(dc, 10, 10, "\n\t\x01", 3));
  EXPECT_EQ(Count_Not(test_double::TestBackend::Pixels_Of(back), 0), 0);
  // Clipped at every edge without harm.
  EXPECT_TRUE(TextOutA(dc, -5, -7, "WWW", 3));
  EXPECT_TRUE(TextOutA(dc, 630, 470, "WWW", 3));
  EXPECT_TRUE(TextOutA(dc, -2147483647, 2147483000, "W", 1));
  EXPECT_GT(Count_Not(test_double::TestBackend::Pixels_Of(back), 0), 0);
  EXPECT_FALSE(TextOutA(dc, 0, 0, "x", -1));
  ASSERT_EQ(back->ReleaseDC(dc), DD_OK);
  EXPECT_EQ(back->ReleaseDC(dc), DDERR_INVALIDPARAMS) << "released twice";
  EXPECT_FALSE(TextOutA(dc, 0, 0, "x", 1)) << "a released DC is gone";
}

}  // namespace
}  // namespace zorvex::testing
