#include "platform/soft/picture_scaler.h"

#include <algorithm>
#include <cstring>

namespace plat::soft {

namespace {

#if defined(__GNUC__)
// Four pixels at a time through the compiler's vector types: SSE2 on x86-64, WebAssembly SIMD
// under -msimd128, plain code elsewhere.
#define ZORVEX_VECTORS 1
using U16x4 = std::uint16_t __attribute__((vector_size(8)));
using U32x4 = std::uint32_t __attribute__((vector_size(16)));

U32x4 Widen_Four(const std::uint16_t* src, const PixelLayout& l) {
  U16x4 narrow;
  std::memcpy(&narrow, src, sizeof narrow);
  const U32x4 p = __builtin_convertvector(narrow, U32x4);
  const U32x4 r5 = p >> 11, g6 = (p >> 5) & 63, b5 = p & 31;
  const U32x4 r8 = (r5 << 3) | (r5 >> 2), g8 = (g6 << 2) | (g6 >> 4), b8 = (b5 << 3) | (b5 >> 2);
  return (r8 << l.red_shift) | (g8 << l.green_shift) | (b8 << l.blue_shift) | l.fixed;
}
#endif

// One source row widened to 32 bits, every pixel converted once.
void Widen_Row(const std::uint16_t* src, int n, std::uint32_t* out, const PixelLayout& layout) {
  int x = 0;
#ifdef ZORVEX_VECTORS
  for (; x + 4 <= n; x += 4) {
    const U32x4 v = Widen_Four(src + x, layout);
    std::memcpy(out + x, &v, sizeof v);
  }
#endif
  for (; x < n; ++x) out[x] = Widen_565(src[x], layout);
}

// Each pixel repeated `factor` times across.
void Stretch_Row(const std::uint32_t* row, int n, int factor, std::uint32_t* out) {
  int x = 0;
#if defined(ZORVEX_VECTORS) && defined(__has_builtin)
#if __has_builtin(__builtin_shufflevector)
  if (factor == 2) {
    for (; x + 4 <= n; x += 4) {
      U32x4 v;
      std::memcpy(&v, row + x, sizeof v);
      const U32x4 low = __builtin_shufflevector(v, v, 0, 0, 1, 1);
      const U32x4 high = __builtin_shufflevector(v, v, 2, 2, 3, 3);
      std::memcpy(out + 2 * x, &low, sizeof low);
      std::memcpy(out + 2 * x + 4, &high, sizeof high);
    }
  }
#endif
#endif
  for (; x < n; ++x) std::fill_n(out + static_cast<std::size_t>(x) * factor, factor, row[x]);
}

}  // namespace

std::uint32_t Widen_565(std::uint16_t pixel, const PixelLayout& l) {
  const std::uint32_t r5 = pixel >> 11, g6 = (pixel >> 5) & 63, b5 = pixel & 31;
  const std::uint32_t r8 = (r5 << 3) | (r5 >> 2), g8 = (g6 << 2) | (g6 >> 4),
                      b8 = (b5 << 3) | (b5 >> 2);
  return (r8 << l.red_shift) | (g8 << l.green_shift) | (b8 << l.blue_shift) | l.fixed;
}

Placement Place_Picture(int pic_w, int pic_h, int out_w, int out_h) {
  if (pic_w <= 0 || pic_h <= 0 || out_w <= 0 || out_h <= 0) return {};
  Placement p;
  if (out_w >= 2 * pic_w && out_h >= 2 * pic_h) {
    const int factor = std::min(out_w / pic_w, out_h / pic_h);
    p.w = pic_w * factor, p.h = pic_h * factor;
  } else {
    // The narrower side sets the scale (64-bit: the products pass 2^31 on huge outputs).
    const std::int64_t across = std::int64_t{out_w} * pic_h, down = std::int64_t{out_h} * pic_w;
    if (across <= down) {
      p.w = out_w, p.h = static_cast<int>(across / pic_w);
    } else {
      p.h = out_h, p.w = static_cast<int>(down / pic_h);
    }
    p.w = std::max(p.w, 1), p.h = std::max(p.h, 1);
  }
  p.x = (out_w - p.w) / 2, p.y = (out_h - p.h) / 2;
  return p;
}

void PictureScaler::Set_Up(int pic_w, int pic_h, int out_w, int out_h, const PixelLayout& layout) {
  pic_w_ = pic_w, pic_h_ = pic_h, layout_ = layout;
  place_ = Place_Picture(pic_w, pic_h, out_w, out_h);
  factor_ = 0;
  if (place_.w == 0) return;
  if (place_.w % pic_w == 0 && place_.w / pic_w == place_.h / pic_h && place_.h % pic_h == 0)
    factor_ = place_.w / pic_w;
  column_of_.resize(static_cast<std::size_t>(place_.w));
  row_of_.resize(static_cast<std::size_t>(place_.h));
  for (int x = 0; x < place_.w; ++x)
    column_of_[x] = static_cast<int>(std::int64_t{x} * pic_w / place_.w);
  for (int y = 0; y < place_.h; ++y)
    row_of_[y] = static_cast<int>(std::int64_t{y} * pic_h / place_.h);
  row_.resize(static_cast<std::size_t>(pic_w));
  wide_.resize(static_cast<std::size_t>(place_.w));
}

void PictureScaler::Draw(const std::uint16_t* picture, std::uint32_t* out,
                         std::size_t out_pitch) const {
  if (place_.w == 0) return;
  auto* base = reinterpret_cast<std::uint8_t*>(out) +
               static_cast<std::size_t>(place_.y) * out_pitch +
               static_cast<std::size_t>(place_.x) * sizeof(std::uint32_t);
  const std::size_t bytes = static_cast<std::size_t>(place_.w) * sizeof(std::uint32_t);
  int built = -1;  // the source row now in wide_
  for (int y = 0; y < place_.h; ++y) {
    const int from = row_of_[y];
    if (from != built) {
      const std::uint16_t* src = picture + static_cast<std::size_t>(from) * pic_w_;
      if (factor_ == 1) {
        Widen_Row(src, pic_w_, wide_.data(), layout_);
      } else if (factor_ > 1) {
        Widen_Row(src, pic_w_, row_.data(), layout_);
        Stretch_Row(row_.data(), pic_w_, factor_, wide_.data());
      } else {
        Widen_Row(src, pic_w_, row_.data(), layout_);
        for (int x = 0; x < place_.w; ++x) wide_[x] = row_[column_of_[x]];
      }
      built = from;
    }
    std::memcpy(base + static_cast<std::size_t>(y) * out_pitch, wide_.data(), bytes);
  }
}

}  // namespace plat::soft
