#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/soft/surface.h"

namespace plat::soft {

namespace {

// Eight pixels at a time. SSE2 is always there on x86-64; elsewhere the compiler's own vector
// types stand in (WebAssembly SIMD under -msimd128), and plain code where there are none.
// Groups wholly of the key are skipped and wholly opaque ones stored without reading the screen:
// most groups of a sprite sheet are one or the other.
constexpr int LANES = 8;

#if defined(__SSE2__)
inline void Put_Group(std::uint16_t* dst, __m128i s, __m128i keys) {
  const __m128i holes = _mm_cmpeq_epi16(s, keys);
  const int mask = _mm_movemask_epi8(holes);
  auto* out = reinterpret_cast<__m128i*>(dst);
  if (mask == 0) {
    _mm_storeu_si128(out, s);
  } else if (mask != 0xFFFF) {
    const __m128i d = _mm_loadu_si128(out);
    _mm_storeu_si128(out, _mm_or_si128(_mm_and_si128(holes, d), _mm_andnot_si128(holes, s)));
  }
}

void Copy_Row_Keyed(std::uint16_t* __restrict dst, const std::uint16_t* __restrict src, int n,
                    std::uint16_t key) {
  int x = 0;
  const __m128i keys = _mm_set1_epi16(static_cast<short>(key));
  // Four groups at a time: one test passes a run with no key at all (a background tile, a
  // brick's face) as four plain stores, and a run wholly of the key is skipped.
  for (; x + 4 * LANES <= n; x += 4 * LANES) {
    const auto* in = reinterpret_cast<const __m128i*>(src + x);
    const __m128i s0 = _mm_loadu_si128(in), s1 = _mm_loadu_si128(in + 1);
    const __m128i s2 = _mm_loadu_si128(in + 2), s3 = _mm_loadu_si128(in + 3);
    const __m128i h0 = _mm_cmpeq_epi16(s0, keys), h1 = _mm_cmpeq_epi16(s1, keys);
    const __m128i h2 = _mm_cmpeq_epi16(s2, keys), h3 = _mm_cmpeq_epi16(s3, keys);
    const int any = _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(h0, h1), _mm_or_si128(h2, h3)));
    if (any == 0) {
      auto* out = reinterpret_cast<__m128i*>(dst + x);
      _mm_storeu_si128(out, s0);
      _mm_storeu_si128(out + 1, s1);
      _mm_storeu_si128(out + 2, s2);
      _mm_storeu_si128(out + 3, s3);
      continue;
    }
    const int all = _mm_movemask_epi8(_mm_and_si128(_mm_and_si128(h0, h1), _mm_and_si128(h2, h3)));
    if (all == 0xFFFF) continue;
    Put_Group(dst + x, s0, keys);
    Put_Group(dst + x + LANES, s1, keys);
    Put_Group(dst + x + 2 * LANES, s2, keys);
    Put_Group(dst + x + 3 * LANES, s3, keys);
  }
  for (; x + LANES <= n; x += LANES)
    Put_Group(dst + x, _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x)), keys);
  for (; x < n; ++x)
    if (src[x] != key) dst[x] = src[x];
}
#elif defined(__GNUC__)
using Lanes = std::uint16_t __attribute__((vector_size(16)));

void Copy_Row_Keyed(std::uint16_t* __restrict dst, const std::uint16_t* __restrict src, int n,
                    std::uint16_t key) {
  int x = 0;
  const Lanes keys = {key, key, key, key, key, key, key, key};
  for (; x + LANES <= n; x += LANES) {
    Lanes s, d;
    std::memcpy(&s, src + x, sizeof s);
    const Lanes keep = reinterpret_cast<Lanes>(s != keys);  // all ones where the source shows
    std::uint64_t halves[2];
    std::memcpy(halves, &keep, sizeof halves);
    if ((halves[0] & halves[1]) == ~std::uint64_t{0}) {
      std::memcpy(dst + x, &s, sizeof s);
      continue;
    }
    if ((halves[0] | halves[1]) == 0) continue;
    std::memcpy(&d, dst + x, sizeof d);
    d = (s & keep) | (d & ~keep);
    std::memcpy(dst + x, &d, sizeof d);
  }
  for (; x < n; ++x)
    if (src[x] != key) dst[x] = src[x];
}
#else
void Copy_Row_Keyed(std::uint16_t* dst, const std::uint16_t* src, int n, std::uint16_t key) {
  for (int x = 0; x < n; ++x)
    if (src[x] != key) dst[x] = src[x];
}
#endif

}  // namespace

Box To_Box(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

Box Intersect(const Box& a, const Box& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

void Fill_Box(Pixels* dst, const Box& box, std::uint16_t colour) {
  Box clipped = Intersect(box, {0, 0, dst->width, dst->height});
  if (clipped.Empty()) return;
  const auto left = static_cast<std::size_t>(clipped.left);
  const auto count = static_cast<std::size_t>(clipped.right - clipped.left);
  if ((colour & 0xFF) == (colour >> 8)) {  // black and the like: memset, whole rows at once
    const bool whole_rows = count == static_cast<std::size_t>(dst->width);
    const auto rows = static_cast<std::size_t>(clipped.bottom - clipped.top);
    for (auto y = clipped.top; y < clipped.bottom; y += whole_rows ? rows : 1) {
      std::memset(dst->Row(static_cast<int>(y)) + left, colour & 0xFF,
                  (whole_rows ? rows * count : count) * sizeof(std::uint16_t));
    }
    return;
  }
  for (auto y = clipped.top; y < clipped.bottom; ++y) {
    std::uint16_t* row = dst->Row(static_cast<int>(y)) + left;
    std::fill(row, row + count, colour);
  }
}

void Copy_Block(Pixels* dst, int dx, int dy, const Pixels& src, int sx, int sy, int w, int h,
                bool keyed, std::uint16_t key) {
  if (w <= 0 || h <= 0) return;
  if (&src == dst) {  // overlapping copies within one surface read from a snapshot
    Pixels copy = src;
    Copy_Block(dst, dx, dy, copy, sx, sy, w, h, keyed, key);
    return;
  }
  for (int y = 0; y < h; ++y) {
    std::uint16_t* out = dst->Row(dy + y) + dx;
    const std::uint16_t* in = src.Row(sy + y) + sx;
    if (keyed)
      Copy_Row_Keyed(out, in, w, key);
    else
      std::memcpy(out, in, static_cast<std::size_t>(w) * sizeof(std::uint16_t));
  }
}

}  // namespace plat::soft
