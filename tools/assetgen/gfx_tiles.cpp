// The six background tiles: dark, calm and periodic in 64 pixels so they tile without a seam.
#include <algorithm>
#include <cmath>
#include <functional>

#include "tools/assetgen/noise.h"
#include "tools/assetgen/tiles.h"

namespace assetgen {

namespace {

constexpr int T = 64;
constexpr float kTau = 6.2831853f;

// Shortest distance on a torus of size T.
float Wrapped(float d) {
  d = std::fabs(d);
  return std::min(d, T - d);
}

// Steel hull plates in a 32-pixel grid with grooves, bevels and rivets.
Rgb Plates(int x, int y) {
  int px = x % 32, py = y % 32;
  float n = Tile_Fbm(x, y, T, 8, 3, 11);
  float shade = 0.85f + 0.3f * n;
  Rgb base = Hex(0x18202e) * shade;
  // Plates alternate slightly in tone like panels from different batches.
  if (((x / 32) + (y / 32)) % 2) base = base * 0.9f;
  if (px == 0 || py == 0) return Hex(0x080b12);
  if (px == 1 || py == 1) return base + Hex(0x0c0e14);
  if (px == 31 || py == 31) return base * 0.7f;
  for (int rx : {4, 27}) {
    for (int ry : {4, 27}) {
      float d = std::hypot(px - rx, py - ry);
      if (d < 1.6f)
        return Mix(Hex(0x3a4458), Hex(0x141a24), Clamp01((px - rx + py - ry + 2) / 4.f));
    }
  }
  // A faint diagonal brushing.
  float brush = 0.03f * std::sin(kTau * (x + y) * 8 / T);
  return base + Rgb{brush, brush, brush};
}

// A violet nebula with a sprinkle of faint stars.
Rgb Nebula(int x, int y) {
  float a = Tile_Fbm(x, y, T, 4, 4, 23);
  float b = Tile_Fbm(x + 17, y + 5, T, 4, 3, 31);
  Rgb c = Mix(Hex(0x0a0818), Hex(0x2a1444), Smooth(0.35f, 0.8f, a));
  c = Mix(c, Hex(0x0c2040), Smooth(0.5f, 0.85f, b) * 0.6f);
  float h = Hash2(x, y, 77);
  if (h > 0.985f) c = c + Hex(0x303040) * ((h - 0.985f) / 0.015f);
  return c;
}

// Dark green circuit board: traces on an 8-pixel lattice with pads and vias.
struct Circuit {
  bool trace[T][T] = {};
  bool pad[T][T] = {};
  Circuit() {
    Rng rng(0xC1C17);
    for (int w = 0; w < 14; ++w) {
      int x = rng.Below(8) * 8 + 4, y = rng.Below(8) * 8 + 4;
      int len = 3 + rng.Below(5);
      int dir = rng.Below(4);
      pad[y][x] = true;
      for (int s = 0; s < len * 8; ++s) {
        trace[Wrap(y, T)][Wrap(x, T)] = true;
        if (s % 8 == 7 && rng.Below(3) == 0) dir = (dir + (rng.Below(2) ? 1 : 3)) % 4;
        x += dir == 0 ? 1 : dir == 2 ? -1 : 0;
        y += dir == 1 ? 1 : dir == 3 ? -1 : 0;
        x = Wrap(x, T);
        y = Wrap(y, T);
      }
      pad[y][x] = true;
    }
  }
};

Rgb Board(int x, int y) {
  static const Circuit c;
  float n = Tile_Fbm(x, y, T, 8, 2, 41);
  Rgb base = Hex(0x0a1a12) * (0.85f + 0.3f * n);
  bool near_pad = false;
  for (int j = -1; j <= 1; ++j)
    for (int i = -1; i <= 1; ++i) near_pad |= c.pad[Wrap(y + j, T)][Wrap(x + i, T)];
  if (c.pad[y][x]) return Hex(0x101c14);
  if (near_pad) return Hex(0x3a4a2a);
  if (c.trace[y][x]) return Hex(0x1c3a24);
  if (c.trace[Wrap(y - 1, T)][x] || c.trace[y][Wrap(x - 1, T)]) return base * 0.75f;
  return base;
}

// Cobbles: wrapped Worley cells with dark mortar between them.
Rgb Rock(int x, int y) {
  static float cx[16], cy[16];
  static bool ready = false;
  if (!ready) {
    Rng rng(0x5707E);
    for (int i = 0; i < 16; ++i) {
      cx[i] = (i % 4) * 16 + 3 + rng.Unit() * 10;
      cy[i] = (i / 4) * 16 + 3 + rng.Unit() * 10;
    }
    ready = true;
  }
  float d1 = 1e9f, d2 = 1e9f;
  int near = 0;
  for (int i = 0; i < 16; ++i) {
    float d = std::hypot(Wrapped(x - cx[i]), Wrapped(y - cy[i]));
    if (d < d1) {
      d2 = d1;
      d1 = d;
      near = i;
    } else if (d < d2) {
      d2 = d;
    }
  }
  float edge = d2 - d1;
  float n = Tile_Fbm(x, y, T, 16, 2, 53);
  Rgb stone = Mix(Hex(0x2a2018), Hex(0x1e1c1a), Hash2(near, 0, 9)) * (0.8f + 0.4f * n);
  stone = stone * (1.1f - 0.02f * d1);  // domed stones, lit in the middle
  if (edge < 1.2f) return Hex(0x0c0a08);
  if (edge < 2.2f) return stone * 0.7f;
  return stone;
}

// Deep water: interfering ripples, all with whole periods across the tile.
Rgb Water(int x, int y) {
  float u = kTau * x / T, v = kTau * y / T;
  float w = std::sin(u * 2 + v * 1 + 1.3f * std::sin(v * 2)) + std::sin(u * -1 + v * 3 + 0.7f) +
            0.6f * std::sin(u * 3 - v * 2 + 1.9f * std::sin(u));
  float caustic = std::pow(Clamp01(1 - std::fabs(w) * 0.9f), 3.0f);
  Rgb c = Mix(Hex(0x061620), Hex(0x0c2a38), 0.5f + 0.2f * w);
  return c + Hex(0x103a44) * (caustic * 0.6f);
}

// A carbon-style weave in dark wine red.
Rgb Weave(int x, int y) {
  int cell = 8;
  int bx = x / cell, by = y / cell;
  bool across = (bx + by) % 2 == 0;
  float t = across ? (y % cell + 0.5f) / cell : (x % cell + 0.5f) / cell;
  float along = across ? (x % cell + 0.5f) / cell : (y % cell + 0.5f) / cell;
  float round = std::sin(3.14159f * t);
  Rgb c = Mix(Hex(0x0e080a), Hex(0x3a1420), round * (0.75f + 0.25f * std::sin(3.14159f * along)));
  if (t < 0.13f || t > 0.87f) c = c * 0.6f;
  float n = Tile_Fbm(x, y, T, 8, 2, 67);
  return c * (0.9f + 0.2f * n);
}

}  // namespace

void Draw_Tiles(Image* img) {
  const std::function<Rgb(int, int)> kinds[6] = {Plates, Nebula, Board, Rock, Water, Weave};
  for (int k = 0; k < 6; ++k) {
    int ox = (k % 2) * T, oy = (k / 2) * T;
    for (int y = 0; y < T; ++y)
      for (int x = 0; x < T; ++x) img->Put(ox + x, oy + y, kinds[k](x, y));
  }
}

}  // namespace assetgen
