#include "platform/soft/text.h"

#include <algorithm>

#include "platform/soft/font.h"

namespace plat::soft {

namespace {

const Glyph* Glyph_Of(char c) {
  const int index = static_cast<unsigned char>(c) - FIRST_GLYPH;
  if (index < 0 || index >= GLYPH_COUNT) return nullptr;
  return &FONT_GLYPHS[index];
}

// Mixes one 5-6-5 pixel toward an 8-bit-per-channel colour by coverage a (0..255).
std::uint16_t Blend(std::uint16_t pixel, int r, int g, int b, int a) {
  int pr = (pixel >> 11) << 3, pg = ((pixel >> 5) & 0x3F) << 2, pb = (pixel & 0x1F) << 3;
  pr += ((r - pr) * a + 127) / 255;
  pg += ((g - pg) * a + 127) / 255;
  pb += ((b - pb) * a + 127) / 255;
  return static_cast<std::uint16_t>(((pr >> 3) << 11) | ((pg >> 2) << 5) | (pb >> 3));
}

void Draw_Glyph(Pixels* dst, std::int64_t pen_x, std::int64_t top, const Glyph& g, int r, int gr,
                int b) {
  const std::int64_t left = pen_x + g.left, y0 = top + g.top;
  const std::uint8_t* cover = FONT_COVERAGE + g.offset;
  for (int gy = 0; gy < g.height; ++gy) {
    const std::int64_t y = y0 + gy;
    if (y < 0 || y >= dst->height) continue;
    std::uint16_t* row = dst->Row(static_cast<int>(y));
    for (int gx = 0; gx < g.width; ++gx) {
      const std::int64_t x = left + gx;
      const int a = cover[gy * g.width + gx];
      if (a == 0 || x < 0 || x >= dst->width) continue;
      row[x] = Blend(row[x], r, gr, b, a);
    }
  }
}

}  // namespace

void Draw_Text(Pixels* dst, int x, int y, const char* text, int length, COLORREF colour) {
  if (!text || length <= 0) return;
  const int r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
  std::int64_t pen = x;
  for (int i = 0; i < length && pen < dst->width; ++i) {
    const Glyph* glyph = Glyph_Of(text[i]);
    if (!glyph) continue;
    Draw_Glyph(dst, pen, y, *glyph, r, g, b);
    pen += glyph->advance;
  }
}

int Text_Width(const char* text, int length) {
  int width = 0;
  for (int i = 0; text && i < length; ++i)
    if (const Glyph* glyph = Glyph_Of(text[i])) width += glyph->advance;
  return width;
}

}  // namespace plat::soft
