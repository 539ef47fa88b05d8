// Sine and exponentials that give the same bits on every machine. The C libraries' sinf, expf and
// powf differ in the last bit between glibc (which also picks an FMA variant by processor) and
// the browser's libc, and the page makes the same sounds as the build, byte for byte. These use
// only additions, multiplications and exact scaling, worked in double and rounded once to float.
#pragma once

#include <array>
#include <cmath>

namespace assetgen {

namespace exact_detail {

// 1/n! for n = 0 .. 16, each step a correctly rounded division.
constexpr std::array<double, 17> kInverseFactorial = [] {
  std::array<double, 17> c{};
  c[0] = 1;
  for (int n = 1; n < 17; ++n) c[n] = c[n - 1] / n;
  return c;
}();

// e^r for |r| <= ln 2 / 2: the Taylor series to r^13, its error far below a float's last bit.
inline double Exp_Near_Zero(double r) {
  double p = kInverseFactorial[13];
  for (int n = 12; n >= 0; --n) p = kInverseFactorial[n] + r * p;
  return p;
}

// sin r and cos r for |r| <= pi/4, the series to r^15 and r^16.
inline double Sin_Near_Zero(double r) {
  const double r2 = r * r;
  double p = -kInverseFactorial[15];
  for (int n = 13; n >= 3; n -= 2)
    p = ((n / 2) % 2 ? -kInverseFactorial[n] : kInverseFactorial[n]) + r2 * p;
  return r + r * r2 * p;
}
inline double Cos_Near_Zero(double r) {
  const double r2 = r * r;
  double p = kInverseFactorial[16];
  for (int n = 14; n >= 0; n -= 2)
    p = ((n / 2) % 2 ? -kInverseFactorial[n] : kInverseFactorial[n]) + r2 * p;
  return p;
}

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
  const double k = std::floor(y * (1 / 0.69314718055994530942) + 0.5);
  const double r = (y - k * kLn2Hi) - k * kLn2Lo;
  return static_cast<float>(std::ldexp(Exp_Near_Zero(r), static_cast<int>(k)));
}

// 2^x, rounded to float.
inline float Exp2(float x) {
  using namespace exact_detail;
  const double y = x;
  if (y < -160) return 0;
  if (y > 129) return HUGE_VALF;
  const double k = std::floor(y + 0.5);
  const double r = (y - k) * 0.69314718055994530942;  // y - k is exact
  return static_cast<float>(std::ldexp(Exp_Near_Zero(r), static_cast<int>(k)));
}

// sin x, rounded to float; for the arguments a generator makes (|x| well under a million).
inline float Sin(float x) {
  using namespace exact_detail;
  const double y = x;
  const double k = std::floor(y * (2 / 3.14159265358979323846) + 0.5);
  const double r = (y - k * kHalfPiHi) - k * kHalfPiLo;
  const long quarter = static_cast<long>(k) & 3;
  const double v = quarter == 0   ? Sin_Near_Zero(r)
                   : quarter == 1 ? Cos_Near_Zero(r)
                   : quarter == 2 ? -Sin_Near_Zero(r)
                                  : -Cos_Near_Zero(r);
  return static_cast<float>(v);
}

}  // namespace assetgen
