// The program's icon for desktop menus: a ball over a row of bricks and the ship, on a dark
// rounded square. Drawn in unit coordinates, so that every size is made from the same shapes.
#include "tools/assetgen/icon.h"

#include <algorithm>
#include <cmath>

#include "tools/assetgen/image.h"

namespace assetgen {

namespace {

struct Rgba {
  Rgb c;
  float a = 0;
};

// Painter's order over one sample point; the result is premultiplied.
void Over(Rgba* dst, Rgb c, float a) {
  dst->c = dst->c * (1 - a) + c * a;
  dst->a = dst->a * (1 - a) + a;
}

bool In_Round_Rect(float x, float y, float x0, float y0, float x1, float y1, float r) {
  float qx = std::max({x0 + r - x, x - (x1 - r), 0.f});
  float qy = std::max({y0 + r - y, y - (y1 - r), 0.f});
  return x >= x0 && x <= x1 && y >= y0 && y <= y1 && qx * qx + qy * qy <= r * r;
}

Rgba Sample(float x, float y) {
  Rgba p;
  if (!In_Round_Rect(x, y, 0.02f, 0.02f, 0.98f, 0.98f, 0.2f)) return p;
  Over(&p, Mix(Hex(0x26306a), Hex(0x080c20), y), 1);
  // Three bricks, lit from above.
  static const std::uint32_t kBricks[3] = {0xff5a4e, 0xffc040, 0x5ade7a};
  for (int i = 0; i < 3; ++i) {
    float x0 = 0.12f + i * 0.26f;
    if (In_Round_Rect(x, y, x0, 0.16f, x0 + 0.24f, 0.34f, 0.04f))
      Over(&p, Mix(Hex(0xffffff), Hex(kBricks[i]), Smooth(0.16f, 0.24f, y)), 1);
  }
  // The ball with a soft glow around it.
  const float bx = 0.6f, by = 0.53f, d = std::hypot(x - bx, y - by);
  Over(&p, Hex(0x60f0ff), 0.45f * Clamp01(1 - (d - 0.1f) / 0.12f) * (d > 0.1f));
  if (d <= 0.1f) Over(&p, Mix(Hex(0xffffff), Hex(0x9adfff), d / 0.1f), 1);
  // The ship: a chrome hull with glowing ends.
  if (In_Round_Rect(x, y, 0.2f, 0.74f, 0.8f, 0.86f, 0.05f)) {
    Rgb hull = Mix(Hex(0xe8eef8), Hex(0x4a5268), Clamp01((y - 0.74f) / 0.12f));
    const float end = std::max(0.3f - x, x - 0.7f);
    Over(&p, Mix(hull, Hex(0x60f0ff), Clamp01(end / 0.1f)), 1);
  }
  return p;
}

}  // namespace

std::vector<std::uint8_t> Draw_Icon(int size) {
  constexpr int kSub = 4;  // samples a side in every pixel, for smooth edges at small sizes
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(size) * size * 4);
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      Rgba sum;
      for (int sy = 0; sy < kSub; ++sy) {
        for (int sx = 0; sx < kSub; ++sx) {
          Rgba s = Sample((px + (sx + 0.5f) / kSub) / size, (py + (sy + 0.5f) / kSub) / size);
          sum.c = sum.c + s.c;
          sum.a += s.a;
        }
      }
      std::uint8_t* out = &rgba[(static_cast<std::size_t>(py) * size + px) * 4];
      const float a = sum.a / (kSub * kSub);
      const Rgb c = a > 0 ? sum.c * (1.0f / sum.a) : Rgb{};  // back from premultiplied
      out[0] = static_cast<std::uint8_t>(std::lround(Clamp01(c.r) * 255));
      out[1] = static_cast<std::uint8_t>(std::lround(Clamp01(c.g) * 255));
      out[2] = static_cast<std::uint8_t>(std::lround(Clamp01(c.b) * 255));
      out[3] = static_cast<std::uint8_t>(std::lround(Clamp01(a) * 255));
    }
  }
  return rgba;
}

}  // namespace assetgen
