#include "tools/assetgen/mask.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <map>

namespace assetgen {

Mask Make_Mask(int w, int h) {
  Mask m;
  m.w = w;
  m.h = h;
  m.a.assign(static_cast<size_t>(w) * h, 0.0f);
  return m;
}

namespace {

struct Library {
  FT_Library lib = nullptr;
  Library() {
    if (FT_Init_FreeType(&lib)) lib = nullptr;
  }
  ~Library() {
    if (lib) FT_Done_FreeType(lib);
  }
};

// Draws the glyphs at pen origin (ox, baseline) into m; returns the advance in pixels.
float Lay_Out(FT_Face face, const Text_Style& s, const std::string& text, float ox, int baseline,
              Mask* m) {
  float pen = ox;
  for (unsigned char ch : text) {
    if (FT_Load_Char(face, ch, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP)) continue;
    FT_Matrix stretch = {static_cast<FT_Fixed>(s.stretch_x * 65536), 0, 0, 65536};
    FT_Outline_Transform(&face->glyph->outline, &stretch);
    // Place the outline at the sub-pixel pen position before rasterising.
    FT_Pos shift = static_cast<FT_Pos>(std::lround((pen - std::floor(pen)) * 64));
    FT_Outline_Translate(&face->glyph->outline, shift, 0);
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL)) continue;
    const FT_Bitmap& bm = face->glyph->bitmap;
    int gx = static_cast<int>(std::floor(pen)) + face->glyph->bitmap_left;
    int gy = baseline - face->glyph->bitmap_top;
    if (m) {
      for (unsigned r = 0; r < bm.rows; ++r) {
        for (unsigned c = 0; c < bm.width; ++c) {
          int x = gx + static_cast<int>(c), y = gy + static_cast<int>(r);
          if (x < 0 || y < 0 || x >= m->w || y >= m->h) continue;
          float v = bm.buffer[r * bm.pitch + c] / 255.0f;
          float& d = m->a[y * m->w + x];
          d = std::min(1.0f, d + v);
        }
      }
    }
    pen += face->glyph->advance.x / 64.0f * s.stretch_x + s.tracking;
  }
  return pen - ox - s.tracking;
}

}  // namespace

Mask Render_Text(const Text_Style& s, const std::string& text, int w, int h, int baseline,
                 bool centre, int left) {
  static Library library;
  // Faces stay open for the whole run: the lettering asks for the same few fonts many times.
  static std::map<std::string, FT_Face> faces;
  Mask m = Make_Mask(w, h);
  FT_Face& face = faces[s.font];
  if (!face && (!library.lib || FT_New_Face(library.lib, s.font.c_str(), 0, &face))) {
    face = nullptr;
    return Mask{};
  }
  FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(s.size_px * 64), 72, 72);
  float x = static_cast<float>(left);
  if (centre) {
    // Measure the ink itself, not the advances, so the letters sit visually centred.
    Mask probe = Make_Mask(w * 2 + 64, h);
    Lay_Out(face, s, text, 32, baseline, &probe);
    Box b = Ink_Box(probe, 0.02f);
    x = 32 + (w - (b.x1 - b.x0 + 1)) / 2.0f - b.x0;
    x = std::round(x);
  }
  Lay_Out(face, s, text, x, baseline, &m);
  return m;
}

Box Ink_Box(const Mask& m, float min) {
  Box b{m.w, m.h, -1, -1};
  for (int y = 0; y < m.h; ++y) {
    for (int x = 0; x < m.w; ++x) {
      if (m.At(x, y) <= min) continue;
      b.x0 = std::min(b.x0, x);
      b.y0 = std::min(b.y0, y);
      b.x1 = std::max(b.x1, x);
      b.y1 = std::max(b.y1, y);
    }
  }
  return b;
}

Mask Dilate(const Mask& m, int r) {
  Mask out = Make_Mask(m.w, m.h);
  for (int y = 0; y < m.h; ++y) {
    for (int x = 0; x < m.w; ++x) {
      float best = 0;
      for (int j = -r; j <= r; ++j) {
        for (int i = -r; i <= r; ++i) {
          if (i * i + j * j > r * r + r) continue;
          best = std::max(best, m.At(x + i, y + j));
        }
      }
      out.a[y * m.w + x] = best;
    }
  }
  return out;
}

Mask Blur(const Mask& m, int r) {
  Mask cur = m;
  for (int pass = 0; pass < 3; ++pass) {
    Mask tmp = Make_Mask(m.w, m.h);
    for (int y = 0; y < m.h; ++y) {
      for (int x = 0; x < m.w; ++x) {
        float s = 0;
        for (int i = -r; i <= r; ++i) s += cur.At(x + i, y);
        tmp.a[y * m.w + x] = s / (2 * r + 1);
      }
    }
    for (int y = 0; y < m.h; ++y) {
      for (int x = 0; x < m.w; ++x) {
        float s = 0;
        for (int j = -r; j <= r; ++j) s += tmp.At(x, y + j);
        cur.a[y * m.w + x] = s / (2 * r + 1);
      }
    }
  }
  return cur;
}

}  // namespace assetgen
