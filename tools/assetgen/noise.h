// Deterministic randomness for the generators: a seeded generator and tileable noise.
#pragma once

#include <cmath>
#include <cstdint>

namespace assetgen {

// xorshift32: small, fast and the same on every machine.
class Rng {
 public:
  explicit Rng(std::uint32_t seed) : s_(seed ? seed : 0x9E3779B9u) {}
  std::uint32_t Next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 17;
    s_ ^= s_ << 5;
    return s_;
  }
  float Unit() { return (Next() >> 8) / 16777216.0f; }  // 0 .. 1
  float Signed() { return Unit() * 2.0f - 1.0f; }       // -1 .. 1
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }

 private:
  std::uint32_t s_;
};

inline float Hash2(int x, int y, std::uint32_t seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                    static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xFFFFFF) / 16777216.0f;
}

inline int Wrap(int v, int period) { return ((v % period) + period) % period; }

// Value noise on a lattice of `cells` per `period` pixels, wrapping at the period so that a
// tile of that size repeats without a seam.
inline float Tile_Noise(float x, float y, int period, int cells, std::uint32_t seed) {
  float f = static_cast<float>(cells) / period;
  float gx = x * f, gy = y * f;
  int x0 = static_cast<int>(std::floor(gx)), y0 = static_cast<int>(std::floor(gy));
  float tx = gx - x0, ty = gy - y0;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  auto v = [&](int i, int j) { return Hash2(Wrap(i, cells), Wrap(j, cells), seed); };
  float a = v(x0, y0) + (v(x0 + 1, y0) - v(x0, y0)) * tx;
  float b = v(x0, y0 + 1) + (v(x0 + 1, y0 + 1) - v(x0, y0 + 1)) * tx;
  return a + (b - a) * ty;
}

// Several octaves of Tile_Noise, 0..1.
inline float Tile_Fbm(float x, float y, int period, int cells, int octaves, std::uint32_t seed) {
  float sum = 0, amp = 0.5f, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * Tile_Noise(x, y, period, cells << o, seed + 17u * o);
    norm += amp;
    amp *= 0.5f;
  }
  return sum / norm;
}

}  // namespace assetgen
