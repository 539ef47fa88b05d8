// Sine and exponentials that give the same bits on every machine. The C libraries' sinf, expf and
// powf differ in the last bit between glibc (which also picks an FMA variant by processor) and
// the browser's libc, and the page makes the same sounds as the build, byte for byte. These use
// only additions, multiplications and exact powers of two, worked in double and rounded once to
// float.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

namespace assetgen {

namespace exact_detail {

// Adding and taking away 1.5 * 2^52 rounds a double of magnitude below 2^51 to a whole number.
constexpr double kRound = 6755399441055744.0;
inline double Nearest_Whole(double y) {
  const double t = y + kRound;
  return t - kRound;
}

// 2^k for a whole k within the double's normal range, made from its exponent bits.
inline double Power_Of_Two(int k) {
  const std::uint64_t bits = static_cast<std::uint64_t>(k + 1023) << 52;
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

// e^r for |r| <= ln 2 / 2: the Taylor series to r^11, within 2^-40 of the true value.
inline double Exp_Near_Zero(double r) {
  constexpr double c2 = 1.0 / 2, c3 = c2 / 3, c4 = c3 / 4, c5 = c4 / 5, c6 = c5 / 6, c7 = c6 / 7,
                   c8 = c7 / 8, c9 = c8 / 9, c10 = c9 / 10, c11 = c10 / 11;
  return 1 +
         r * (1 +
              r * (c2 +
                   r * (c3 +
                        r * (c4 +
                             r * (c5 +
                                  r * (c6 +
                                       r * (c7 + r * (c8 + r * (c9 + r * (c10 + r * c11))))))))));
}

// sin r and cos r for |r| <= pi/4, the series to r^13 and r^14.
inline double Sin_Near_Zero(double r) {
  constexpr double s3 = 1.0 / 6, s5 = s3 / 20, s7 = s5 / 42, s9 = s7 / 72, s11 = s9 / 110,
                   s13 = s11 / 156;
  const double r2 = r * r;
  return r + r * r2 * (-s3 + r2 * (s5 + r2 * (-s7 + r2 * (s9 + r2 * (-s11 + r2 * s13)))));
}
inline double Cos_Near_Zero(double r) {
  constexpr double c2 = 1.0 / 2, c4 = c2 / 12, c6 = c4 / 30, c8 = c6 / 56, c10 = c8 / 90,
                   c12 = c10 / 132, c14 = c12 / 182;
  const double r2 = r * r;
  return 1 + r2 * (-c2 + r2 * (c4 + r2 * (-c6 + r2 * (c8 + r2 * (-c10 + r2 * (c12 - r2 * c14))))));
}

constexpr double kLn2 = 0.69314718055994530942;
constexpr double kLn2Hi = 6.93147180369123816490e-01;  // ln 2 in 32 bits: k * hi is exact
constexpr double kLn2Lo = 1.90821492927058770002e-10;
constexpr double kHalfPiHi = 1.57079632673412561417e+00;  // pi/2 in 33 bits
constexpr double kHalfPiLo = 6.07710050650619224932e-11;

}  // namespace exact_detail

// e^x, rounded to float.
inline float Exp(float x) {
  using namespace exact_detail;
  const double y = x;
  if (y < -110) return 0;  // below the smallest float
  if (y > 89) return HUGE_VALF;
  const double k = Nearest_Whole(y * (1 / kLn2));
  const double r = (y - k * kLn2Hi) - k * kLn2Lo;
  return static_cast<float>(Exp_Near_Zero(r) * Power_Of_Two(static_cast<int>(k)));
}

// 2^x, rounded to float.
inline float Exp2(float x) {
  using namespace exact_detail;
  const double y = x;
  if (y < -160) return 0;
  if (y > 129) return HUGE_VALF;
  const double k = Nearest_Whole(y);
  const double r = (y - k) * kLn2;  // y - k is exact
  return static_cast<float>(Exp_Near_Zero(r) * Power_Of_Two(static_cast<int>(k)));
}

// sin x, rounded to float; for the arguments a generator makes (|x| well under a million).
inline float Sin(float x) {
  using namespace exact_detail;
  const double y = x;
  const double k = Nearest_Whole(y * (2 / 3.14159265358979323846));
  const double r = (y - k * kHalfPiHi) - k * kHalfPiLo;
  const long quarter = static_cast<long>(k) & 3;
  const double v = quarter == 0   ? Sin_Near_Zero(r)
                   : quarter == 1 ? Cos_Near_Zero(r)
                   : quarter == 2 ? -Sin_Near_Zero(r)
                                  : -Cos_Near_Zero(r);
  return static_cast<float>(v);
}

}  // namespace assetgen
