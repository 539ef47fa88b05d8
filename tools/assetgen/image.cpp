#include "tools/assetgen/image.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace assetgen {

Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Rgb operator*(Rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }
Rgb Mix(Rgb a, Rgb b, float t) { return a * (1 - t) + b * t; }
Rgb Hex(std::uint32_t rgb) {
  return {((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f};
}

float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
float Smooth(float e0, float e1, float x) {
  float t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

Image::Image(int w, int h) : w_(w), h_(h), px_(w * h), on_(w * h, 0) {}

void Image::Put(int x, int y, Rgb c) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
  px_[y * w_ + x] = c;
  on_[y * w_ + x] = 1;
}

void Image::Blend(int x, int y, Rgb c, float a) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
  a = Clamp01(a);
  int i = y * w_ + x;
  if (on_[i]) {
    px_[i] = Mix(px_[i], c, a);
  } else if (a >= 0.5f) {
    // Over the black screen a partly covered edge pixel reads as a darker shade.
    px_[i] = c * a;
    on_[i] = 1;
  }
}

void Image::Glow(int x, int y, Rgb c, float a) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_ || a <= 0) return;
  int i = y * w_ + x;
  Rgb add = c * Clamp01(a);
  if (on_[i]) {
    px_[i] = px_[i] + add;
    px_[i] = {Clamp01(px_[i].r), Clamp01(px_[i].g), Clamp01(px_[i].b)};
  } else if (std::max({add.r, add.g, add.b}) >= 10 / 255.0f) {
    px_[i] = add;
    on_[i] = 1;
  }
}

void Image::Clear(int x, int y) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
  px_[y * w_ + x] = {};
  on_[y * w_ + x] = 0;
}

bool Image::Visible(int x, int y) const {
  return x >= 0 && y >= 0 && x < w_ && y < h_ && on_[y * w_ + x];
}

Rgb Image::At(int x, int y) const { return px_[y * w_ + x]; }

namespace {

// Rounds a channel to the nearest level of `bits` and expands it back to 8 bits exactly as a
// display would, so the 5-6-5 conversion of the file loses nothing.
int Level(float v, int bits, float dither) {
  int top = (1 << bits) - 1;
  int q = static_cast<int>(std::floor(Clamp01(v) * top + 0.5f + dither));
  q = std::clamp(q, 0, top);
  int shift = 8 - bits;
  return (q << shift) | (q >> (bits - shift));
}

}  // namespace

std::uint32_t Quantise(Rgb c, float dither) {
  int r = Level(c.r, 5, dither), g = Level(c.g, 6, dither), b = Level(c.b, 5, dither);
  if ((r >> 3) == 0 && (g >> 2) == 0 && (b >> 3) == 0) g = 4;  // darkest green that survives
  return static_cast<std::uint32_t>(r << 16 | g << 8 | b);
}

std::vector<std::uint8_t> Image::Encode(int dx, int dy, int dw, int dh) const {
  static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  const int row = (w_ * 3 + 3) & ~3;
  const std::uint32_t data = static_cast<std::uint32_t>(row * h_);
  std::vector<std::uint8_t> out(54 + data, 0);
  auto put32 = [&](int at, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) out[at + k] = static_cast<std::uint8_t>(v >> (8 * k));
  };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, 54 + data);
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(w_));
  put32(22, static_cast<std::uint32_t>(h_));
  out[26] = 1;
  out[28] = 24;
  put32(34, data);
  put32(38, 2835);
  put32(42, 2835);
  for (int y = 0; y < h_; ++y) {
    std::uint8_t* line = &out[54 + (h_ - 1 - y) * row];
    for (int x = 0; x < w_; ++x) {
      if (!on_[y * w_ + x]) continue;
      bool dith = x >= dx && y >= dy && x < dx + dw && y < dy + dh;
      float d = dith ? (kBayer[y & 3][x & 3] + 0.5f) / 16.0f - 0.5f : 0.0f;
      std::uint32_t v = Quantise(px_[y * w_ + x], d);
      line[x * 3 + 0] = static_cast<std::uint8_t>(v);
      line[x * 3 + 1] = static_cast<std::uint8_t>(v >> 8);
      line[x * 3 + 2] = static_cast<std::uint8_t>(v >> 16);
    }
  }
  return out;
}

bool Write_File(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace assetgen
