// ui.bmp: the title and game-over pictures, the HUD labels and the digit strip.
#include <algorithm>
#include <cmath>
#include <functional>

#include "tools/assetgen/mask.h"
#include "tools/assetgen/noise.h"
#include "tools/assetgen/sheets.h"

namespace assetgen {

namespace {

using Fill = std::function<Rgb(int x, int y)>;

// Composes lettering at (ox, oy): glow, then a dark outline, then the fill.
void Stamp(Image* img, int ox, int oy, const Mask& ink, int outline, Rgb edge, const Fill& fill,
           int glow_radius, Rgb glow, float glow_gain) {
  Mask rim = outline > 0 ? Dilate(ink, outline) : ink;
  if (glow_radius > 0) {
    Mask halo = Blur(Dilate(ink, outline + 1), glow_radius);
    for (int y = 0; y < ink.h; ++y)
      for (int x = 0; x < ink.w; ++x)
        if (rim.At(x, y) < 0.5f) img->Glow(ox + x, oy + y, glow, halo.At(x, y) * glow_gain);
  }
  for (int y = 0; y < ink.h; ++y) {
    for (int x = 0; x < ink.w; ++x) {
      if (outline > 0 && rim.At(x, y) >= 0.35f) img->Put(ox + x, oy + y, edge);
      float a = ink.At(x, y);
      if (a <= 0.02f) continue;
      if (img->Visible(ox + x, oy + y)) {
        img->Blend(ox + x, oy + y, fill(x, y), a);
      } else if (a >= 0.4f) {
        img->Put(ox + x, oy + y, fill(x, y) * std::min(1.0f, a + 0.2f));
      }
    }
  }
}

// Moves the ink of m so that its box is centred horizontally (and vertically when asked).
Mask Centre(const Mask& m, bool vertical) {
  Box b = Ink_Box(m, 0.1f);
  if (b.x1 < b.x0) return m;
  int dx = static_cast<int>(std::floor((m.w - (b.x1 - b.x0 + 1)) / 2.0f)) - b.x0;
  int dy = vertical ? static_cast<int>(std::floor((m.h - (b.y1 - b.y0 + 1)) / 2.0f)) - b.y0 : 0;
  Mask out = Make_Mask(m.w, m.h);
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x) {
      int sx = x - dx, sy = y - dy;
      out.a[y * m.w + x] = m.At(sx, sy);
    }
  return out;
}

void Stars(Image* img, int ox, int oy, int w, int h, std::uint32_t seed, int count) {
  Rng rng(seed);
  for (int i = 0; i < count; ++i) {
    int x = rng.Below(w), y = rng.Below(h);
    float b = 0.25f + 0.75f * rng.Unit() * rng.Unit();
    Rgb tint = Mix(Hex(0xa0c0ff), Hex(0xfff0d0), rng.Unit());
    img->Glow(ox + x, oy + y, tint, b);
    if (b > 0.8f) {
      // The brightest stars get a small cross of light.
      for (int d = 1; d <= 2; ++d) {
        float a = b * (d == 1 ? 0.45f : 0.18f);
        img->Glow(ox + x + d, oy + y, tint, a);
        img->Glow(ox + x - d, oy + y, tint, a);
        img->Glow(ox + x, oy + y + d, tint, a);
        img->Glow(ox + x, oy + y - d, tint, a);
      }
    }
  }
}

// Shrinks the size until the ink fits in max_w.
Text_Style Fit(Text_Style s, const std::string& text, int w, int h, int max_w) {
  for (int i = 0; i < 60; ++i) {
    Mask m = Render_Text(s, text, w, h, h * 3 / 4, true);
    Box b = Ink_Box(m, 0.1f);
    if (b.x1 - b.x0 + 1 <= max_w) break;
    s.size_px *= 0.97f;
  }
  return s;
}

void Draw_Title(Image* img, const std::string& fonts) {
  const int W = 480, H = 160;
  Stars(img, 0, 0, W, H, 0x5747, 140);
  // A glowing horizon under the name.
  for (int x = 0; x < W; ++x) {
    float fade = std::pow(std::sin(3.14159f * x / W), 1.5f);
    for (int y = 124; y < 140; ++y) {
      float d = std::fabs(y - 131.5f);
      img->Glow(x, y, Hex(0x40d8ff), fade * std::exp(-d * 0.9f));
    }
    img->Glow(x, 131, Hex(0xffffff), fade * 0.5f);
  }
  Text_Style s{fonts + "/DejaVuSans-Bold.ttf", 104, 5, 1.08f};
  s = Fit(s, "ZORVEX", W, H, 430);
  Mask ink = Render_Text(s, "ZORVEX", W, H, 112, true);
  Box b = Ink_Box(ink, 0.1f);
  float top = static_cast<float>(b.y0), bottom = static_cast<float>(b.y1);
  float horizon = top + (bottom - top) * 0.52f;
  // Chrome: a bright sky above the horizon line, a deep sunset below it.
  Fill chrome = [=](int x, int y) {
    if (y < horizon) {
      float t = (y - top) / (horizon - top);
      return Mix(Hex(0xffffff), Hex(0x58b8ff), t * t);
    }
    float t = (y - horizon) / (bottom - horizon);
    Rgb c = Mix(Hex(0x1a1060), Hex(0xff3c8c), Clamp01(t * 1.2f));
    c = Mix(c, Hex(0xffc040), Smooth(0.75f, 1.0f, t));
    if (y - horizon < 1.5f) c = Hex(0xffffff);
    // A diagonal glint across the letters.
    float g = std::fabs((x - 0.6f * y) - 170.0f);
    if (g < 6) c = Mix(c, Hex(0xffffff), 0.35f * (1 - g / 6));
    return c;
  };
  Stamp(img, 0, 0, ink, 3, Hex(0x0a0c28), chrome, 6, Hex(0x3080ff), 1.6f);
}

void Draw_Game_Over(Image* img, const std::string& fonts) {
  const int W = 480, H = 120, OY = 160;
  Stars(img, 0, OY, W, H, 0x6A3E, 60);
  Text_Style s{fonts + "/DejaVuSans-Bold.ttf", 80, 3, 1.0f};
  s = Fit(s, "GAME OVER", W, H, 420);
  Mask ink = Render_Text(s, "GAME OVER", W, H, 84, true);
  Box b = Ink_Box(ink, 0.1f);
  float top = static_cast<float>(b.y0), bottom = static_cast<float>(b.y1);
  Fill ember = [=](int x, int y) {
    float t = (y - top) / (bottom - top);
    Rgb c = Mix(Hex(0xfff4c0), Hex(0xff8020), Smooth(0.0f, 0.5f, t));
    c = Mix(c, Hex(0xa00818), Smooth(0.45f, 1.0f, t));
    if (Hash2(x / 3, y / 3, 5) > 0.93f) c = c * 0.75f;  // a little scorching
    return c;
  };
  Stamp(img, 0, OY, ink, 3, Hex(0x200408), ember, 6, Hex(0xff2010), 1.5f);
  // Sparks drifting up from the letters.
  Rng rng(0x59A2);
  for (int i = 0; i < 40; ++i) {
    int x = b.x0 + rng.Below(b.x1 - b.x0), y = b.y0 - 4 - rng.Below(14);
    img->Glow(x, OY + y, Hex(0xffa040), 0.4f + 0.5f * rng.Unit());
  }
}

Rgb Hud_Fill(int y, int top, int bottom) {
  float t = Clamp01((y - top) / static_cast<float>(std::max(1, bottom - top)));
  return Mix(Hex(0xffffff), Hex(0xffb028), Smooth(0.25f, 1.0f, t));
}

const Rgb kHudEdge = Hex(0x081020);

// A label right-aligned so that its ink ends at column `right`, baseline on row 18.
void Draw_Label(Image* img, const std::string& fonts, const std::string& text, int ox, int oy,
                int w, int right) {
  Text_Style s{fonts + "/DejaVuSansCondensed-Bold.ttf", 15, 1, 1.0f};
  Mask probe = Render_Text(s, text, w, 20, 18, false, 0);
  Box b = Ink_Box(probe, 0.1f);
  Mask ink = Render_Text(s, text, w, 20, 18, false, right - b.x1);
  Box k = Ink_Box(ink, 0.1f);
  Stamp(
      img, ox, oy, ink, 1, kHudEdge, [&](int, int y) { return Hud_Fill(y, k.y0, k.y1); }, 0, {}, 0);
}

// The glyph strip: 13 x 24 cells at x = 13 n - 573 for ASCII n, on row 496.
void Draw_Glyphs(Image* img, const std::string& fonts) {
  Text_Style s{fonts + "/DejaVuSansCondensed-Bold.ttf", 22, 0, 1.0f};
  // Size the digits to 15 rows of ink, no wider than 10 columns, so the outline fits the cell.
  for (int i = 0; i < 40; ++i) {
    Box all{99, 99, -1, -1};
    int widest = 0;
    for (char c = '0'; c <= '9'; ++c) {
      Box b = Ink_Box(Render_Text(s, std::string(1, c), 13, 24, 18, true), 0.1f);
      widest = std::max(widest, b.x1 - b.x0 + 1);
      all.y0 = std::min(all.y0, b.y0);
      all.y1 = std::max(all.y1, b.y1);
    }
    if (widest > 10) s.stretch_x *= 0.96f;
    if (all.y1 - all.y0 + 1 > 15) s.size_px *= 0.97f;
    if (widest <= 10 && all.y1 - all.y0 + 1 <= 15) break;
  }
  for (int n = '-'; n <= '9'; ++n) {
    if (n == '.' || n == '/') continue;  // never drawn; their cells stay empty
    int ox = 13 * n - 573, oy = 496;
    Mask ink;
    if (n == '-') {
      // The font's hyphen is too short to read as a minus next to these digits: draw a bar
      // as wide as a digit's bowl, centred in the cell.
      ink = Make_Mask(13, 24);
      for (int y = 11; y <= 12; ++y)
        for (int x = 3; x <= 9; ++x) ink.a[y * 13 + x] = 1;
    } else {
      // Digits share one baseline and are centred across the cell.
      ink = Centre(Render_Text(s, std::string(1, static_cast<char>(n)), 13, 24, 18, true), false);
    }
    Stamp(
        img, ox, oy, ink, 1, kHudEdge, [](int, int y) { return Hud_Fill(y, 4, 18); }, 0, {}, 0);
  }
}

}  // namespace

Image Make_Ui_Sheet(const std::string& fonts) {
  Image img(UI_W, UI_H);
  Draw_Title(&img, fonts);
  Draw_Game_Over(&img, fonts);
  Draw_Label(&img, fonts, "LEVEL", 266, 476, 70, 52);
  Draw_Label(&img, fonts, "SCORE", 266, 500, 60, 57);
  Draw_Glyphs(&img, fonts);
  return img;
}

}  // namespace assetgen
