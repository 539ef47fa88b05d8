// gfx.bmp: everything drawn on the play field.
#include <algorithm>
#include <cmath>

#include "tools/assetgen/noise.h"
#include "tools/assetgen/sheets.h"
#include "tools/assetgen/tiles.h"

namespace assetgen {

float Round_Rect_Cover(float px, float py, float x0, float y0, float x1, float y1, float r) {
  // Signed distance of the pixel centre to a rounded box, turned into coverage.
  float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  float hx = (x1 - x0) / 2 - r, hy = (y1 - y0) / 2 - r;
  float qx = std::fabs(px + 0.5f - cx) - hx, qy = std::fabs(py + 0.5f - cy) - hy;
  float out = std::hypot(std::max(qx, 0.f), std::max(qy, 0.f)) + std::min(std::max(qx, qy), 0.f);
  return Clamp01(0.5f - (out - r));
}

float Disc_Cover(float px, float py, float cx, float cy, float r) {
  return Clamp01(0.5f - (std::hypot(px + 0.5f - cx, py + 0.5f - cy) - r));
}

namespace {

// The ship: a chrome hull with a raised deck under the gun and glowing engine pods.
void Draw_Ship(Image* img, int ox, int oy) {
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 64; ++x) {
      float t = (y - 4) / 10.0f;
      Rgb hull = Mix(Hex(0xe8eef8), Hex(0x3a4258), Clamp01(t));
      if (y == 4 || y == 5) hull = Mix(hull, Hex(0xffffff), 0.3f);
      if (y >= 8 && y <= 9) hull = Mix(Hex(0xff6a20), Hex(0xb02810), (y - 8.0f));
      float body = Round_Rect_Cover(x, y, 6, 4, 58, 15, 4);
      float deck = Round_Rect_Cover(x, y, 18, 1, 46, 8, 3);
      img->Blend(ox + x, oy + y, hull, body);
      if (deck > 0)
        img->Blend(ox + x, oy + y, Mix(Hex(0xc8d0e0), Hex(0x505a70), (y - 1) / 7.0f), deck);
      // Engine pods at both ends, cyan glow towards the outside.
      for (int side = 0; side < 2; ++side) {
        float px0 = side ? 52 : 0, px1 = side ? 64 : 12;
        float pod = Round_Rect_Cover(x, y, px0, 3, px1, 15, 4);
        if (pod <= 0) continue;
        float out = side ? (x - 52) / 11.0f : (11 - x) / 11.0f;
        Rgb metal = Mix(Hex(0x9aa4bc), Hex(0x283044), Clamp01((y - 3) / 11.0f));
        Rgb c = Mix(metal, Hex(0x60f0ff), Smooth(0.45f, 1.0f, out) * 0.9f);
        if (y == 3 || y == 4) c = Mix(c, Hex(0xffffff), 0.35f);
        img->Blend(ox + x, oy + y, c, pod);
      }
    }
  }
  // Running lights and seams.
  for (int x : {14, 49}) img->Put(ox + x, oy + 6, Hex(0xffe060));
  for (int x : {12, 51})
    for (int y = 5; y < 14; ++y) img->Blend(ox + x, oy + y, Hex(0x202838), 0.7f);
  for (int x = 8; x < 56; ++x) img->Blend(ox + x, oy + 14, Hex(0x181c28), 0.6f);
}

// One gun frame. `recoil` pushes the barrel down; `flash` 0..1 lights the muzzle.
void Draw_Gun(Image* img, int ox, int oy, int recoil, float flash, float heat) {
  // Turret dome; its lower half sits over the ship's deck.
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      float dome =
          Clamp01(0.5f - (std::hypot((x + 0.5f - 8) / 6.5f, (y + 0.5f - 13) / 4.5f) - 1) * 5);
      if (y >= 14) dome = std::min(dome, Round_Rect_Cover(x, y, 2, 8, 14, 16, 1));
      if (dome <= 0) continue;
      float lit = Clamp01(1 - std::hypot(x - 5.5f, y - 9.5f) / 7);
      img->Blend(ox + x, oy + y, Mix(Hex(0x2c3448), Hex(0xb8c4dc), lit), dome);
    }
  }
  // Barrel, columns 5..8, with a wider muzzle ring.
  int top = 1 + recoil;
  for (int y = top; y < 11; ++y) {
    for (int x = 5; x <= 8; ++x) {
      Rgb c = x == 5   ? Hex(0x8890a8)
              : x == 6 ? Hex(0xe0e8f4)
              : x == 7 ? Hex(0x98a4bc)
                       : Hex(0x40485c);
      float hot = heat * Clamp01(1 - (y - top) / 5.0f);
      img->Put(ox + x, oy + y, Mix(c, Hex(0xff5020), hot));
    }
  }
  for (int x = 4; x <= 9; ++x) {
    Rgb ring = x <= 5 ? Hex(0xa8b0c4) : x >= 8 ? Hex(0x384054) : Hex(0xd0d8e8);
    img->Put(ox + x, oy + top + 1, Mix(ring, Hex(0xff7030), heat * 0.8f));
  }
  if (flash <= 0) return;
  // Muzzle flash: a hot star above the barrel.
  float cx = 7.0f, cy = top - 0.5f;
  for (int y = 0; y <= top + 1; ++y) {
    for (int x = 0; x < 16; ++x) {
      float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
      float r = std::hypot(dx, dy);
      float star = std::max(Clamp01(1 - std::fabs(dx) / 1.2f) * Clamp01(1 - std::fabs(dy) / 4.5f),
                            Clamp01(1 - std::fabs(dy) / 1.0f) * Clamp01(1 - std::fabs(dx) / 4.5f));
      float a = std::max(Clamp01(1 - r / (2.2f + 2.4f * flash)), star) * flash;
      if (a < 0.2f) continue;
      img->Blend(ox + x, oy + y, Mix(Hex(0xff8020), Hex(0xfffbe0), Clamp01(a * 1.3f)),
                 Clamp01(a * 1.6f));
    }
  }
}

void Draw_Ball(Image* img, int ox, int oy, Rgb colour) {
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      float cover = Disc_Cover(x, y, 4, 4, 3.9f);
      if (cover <= 0) continue;
      float nx = (x + 0.5f - 4) / 3.9f, ny = (y + 0.5f - 4) / 3.9f;
      float nz = std::sqrt(std::max(0.f, 1 - nx * nx - ny * ny));
      float diffuse = Clamp01(-0.5f * nx - 0.6f * ny + 0.62f * nz);
      float shine = std::pow(Clamp01(1 - std::hypot(x + 0.5f - 2.7f, y + 0.5f - 2.6f) / 1.6f), 2.f);
      Rgb c = colour * (0.28f + 0.85f * diffuse);
      c = Mix(c, Hex(0xffffff), shine);
      img->Blend(ox + x, oy + y, c, cover);
    }
  }
}

// The shot: a plasma bolt centred on column 6, under the gun's barrel.
void Draw_Shot(Image* img, int ox, int oy) {
  for (int y = 0; y < 8; ++y) {
    float along = Clamp01(1 - y / 8.0f);
    for (int x = 3; x < 8; ++x) {
      float d = std::fabs(x - 6.0f);
      float a = Clamp01(1.2f - d * 0.45f) * (0.45f + 0.55f * along);
      if (y == 0 && d > 0) a *= 0.5f;
      if (a < 0.25f) continue;
      Rgb c = Mix(Hex(0xff5a10), Hex(0xfff8c0), Clamp01(1 - d * 0.7f) * (0.4f + 0.6f * along));
      img->Put(ox + x, oy + y, c * Clamp01(a + 0.2f));
    }
  }
}

void Draw_Life_Icon(Image* img, int ox, int oy) {
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 16; ++x) {
      float hull = Round_Rect_Cover(x, y, 0, 3, 16, 8, 2.5f);
      float dome = Round_Rect_Cover(x, y, 5, 0.5f, 11, 5, 2);
      Rgb c = Mix(Hex(0xe0e8f4), Hex(0x485068), Clamp01((y - 3) / 5.0f));
      if (x <= 1 || x >= 14) c = Mix(c, Hex(0x60f0ff), 0.7f);
      if (y == 5) c = Hex(0xff6a20);
      img->Blend(ox + x, oy + y, c, hull);
      img->Blend(ox + x, oy + y, Mix(Hex(0xc8d0e0), Hex(0x586078), y / 4.0f), dome);
    }
  }
}

struct Brick_Look {
  Rgb light, face, dark;
  int motif;
};

const Brick_Look kBricks[5] = {
    {Hex(0xff9a8a), Hex(0xd02a2a), Hex(0x5a0c10), 0},  // crimson, grooved
    {Hex(0xfff0a0), Hex(0xe0a018), Hex(0x6a4008), 1},  // gold bar with a sheen
    {Hex(0xa0ffc0), Hex(0x20b050), Hex(0x0a4020), 2},  // emerald, cut gem
    {Hex(0xa8d0ff), Hex(0x2868d8), Hex(0x0c2058), 3},  // sapphire plate, riveted
    {Hex(0xe8b0ff), Hex(0x8a38d0), Hex(0x300c58), 4},  // violet crystal, striped
};

Rgb Brick_Face(const Brick_Look& k, int x, int y) {
  float t = y / 15.0f;
  Rgb c = Mix(Mix(k.light, k.face, 0.55f), k.dark, t * 0.7f);
  switch (k.motif) {
    case 0:
      if (y == 7) c = k.dark;
      if (y == 8) c = Mix(k.face, k.light, 0.4f);
      break;
    case 1: {
      float sheen = std::fabs((x - 2 * y) - 6.0f);
      if (sheen < 3) c = Mix(c, Hex(0xfffbe8), 0.5f * (1 - sheen / 3));
      break;
    }
    case 2: {
      float d = std::fabs(x + 0.5f - 16) / 9 + std::fabs(y + 0.5f - 8) / 5;
      if (d < 1) c = Mix(k.light, k.face, Clamp01((x - 10) / 12.0f + (y - 3) / 14.0f));
      if (d >= 0.85f && d < 1.05f) c = k.dark;
      break;
    }
    case 3:
      for (int rx : {4, 27})
        for (int ry : {4, 11})
          if (std::hypot(x - rx, y - ry) < 1.3f) c = x <= rx && y <= ry ? k.light : k.dark;
      break;
    default:
      if ((x + y) % 8 < 2) c = Mix(c, k.light, 0.35f);
      break;
  }
  return c;
}

// A crack: a jagged walk from an edge towards the middle, dark with a lit lower lip.
void Crack(Image* img, int ox, int oy, Rng* rng, int steps) {
  int side = rng->Below(4);
  int x = side == 0 ? 1 + rng->Below(30) : side == 1 ? 30 : side == 2 ? 1 + rng->Below(30) : 1;
  int y = side == 0 ? 1 : side == 1 ? 1 + rng->Below(14) : side == 2 ? 14 : 1 + rng->Below(14);
  for (int s = 0; s < steps; ++s) {
    img->Put(ox + x, oy + y, Hex(0x100808));
    if (y + 1 < 15) img->Blend(ox + x, oy + y + 1, Hex(0xffffff), 0.25f);
    int tx = 16 + rng->Below(9) - 4, ty = 8 + rng->Below(5) - 2;
    if (rng->Below(2))
      x += (tx > x) - (tx < x);
    else
      y += (ty > y) - (ty < y);
    if (rng->Below(4) == 0) x += rng->Below(3) - 1;
    x = std::clamp(x, 1, 30);
    y = std::clamp(y, 1, 14);
  }
}

void Draw_Brick(Image* img, int ox, int oy, const Brick_Look& k, int damage, std::uint32_t seed) {
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 32; ++x) {
      float cover = Round_Rect_Cover(x, y, 0, 0, 32, 16, 2);
      Rgb c = Brick_Face(k, x, y);
      if (y == 0 || x == 0) c = k.light;
      if (y == 1 && x > 0 && x < 31) c = Mix(c, k.light, 0.5f);
      if (y == 15 || x == 31) c = k.dark;
      if (y == 14 && x > 0 && x < 31) c = Mix(c, k.dark, 0.5f);
      // Damage scorches the face towards the middle.
      float burn = damage * 0.18f * Clamp01(1 - std::hypot((x - 16) / 16.0f, (y - 8) / 8.0f));
      img->Blend(ox + x, oy + y, c * (1 - burn), cover);
    }
  }
  // Each frame adds cracks to the ones before, so the damage reads as progressive.
  Rng rng(seed);
  for (int d = 1; d <= damage; ++d)
    for (int c = 0; c < (d == 1 ? 2 : 3); ++c) Crack(img, ox, oy, &rng, d == 1 ? 12 : 16);
  if (damage == 2) {
    // Chipped corners: pieces have broken away.
    Rng chips(seed ^ 0xC41Bu);
    for (int n = 0; n < 3; ++n) {
      int cx = chips.Below(2) ? 0 : 31, cy = chips.Below(2) ? 0 : 15;
      int size = 2 + chips.Below(2);
      for (int j = 0; j < size; ++j)
        for (int i = 0; i < size - j; ++i)
          img->Clear(ox + (cx ? cx - i : i), oy + (cy ? cy - j : j));
    }
  }
}

}  // namespace

Image Make_Gfx_Sheet() {
  Image img(GFX_W, GFX_H);
  Draw_Tiles(&img);
  Draw_Ship(&img, 160, 0);
  // Idle (also the first firing frame), then flash, recoil, cooling, settled.
  Draw_Gun(&img, 160, 16, 0, 0, 0);
  Draw_Gun(&img, 176, 16, 3, 1.0f, 0.6f);
  Draw_Gun(&img, 192, 16, 2, 0.45f, 0.45f);
  Draw_Gun(&img, 208, 16, 1, 0, 0.3f);
  Draw_Gun(&img, 224, 16, 0, 0, 0.12f);
  const std::uint32_t balls[8] = {0xd8e0f0, 0xff4040, 0x40e060, 0x4890ff,
                                  0xffc830, 0x40e8f0, 0xff50d0, 0xff8c28};
  for (int i = 0; i < 8; ++i) Draw_Ball(&img, 224 + 8 * (i % 4), 8 * (i / 4), Hex(balls[i]));
  Draw_Shot(&img, 256, 0);
  Draw_Life_Icon(&img, 264, 0);
  for (int kind = 0; kind < 5; ++kind)
    for (int damage = 0; damage < 3; ++damage)
      Draw_Brick(&img, 128 + 32 * kind, 48 + 16 * damage, kBricks[kind], damage,
                 0xB41C + 7u * kind);
  return img;
}

}  // namespace assetgen
