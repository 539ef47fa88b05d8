// The generator's own sine and exponentials: within a float's last bit of the true values over
// the ranges the synthesiser feeds them, every quarter turn and both ends of the exponent range.
#include "tools/assetgen/exact_math.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zorvex::testing {
namespace {

// At most one float step from the value computed in double.
void Expect_Near_Ulp(float got, double want, const char* what, double x) {
  const float w = static_cast<float>(want);
  EXPECT_LE(std::fabs(got - w), std::fabs(std::nextafter(w, 2 * w + 1) - w))
      << what << "(" << x << ") = " << got << ", not " << want;
}

TEST(ExactMath, SineMatchesEveryQuarterAndLargeArguments) {
  for (double x = -2000; x <= 2000; x += 0.0371) {
    const float f = static_cast<float>(x);
    Expect_Near_Ulp(assetgen::Sin(f), std::sin(static_cast<double>(f)), "Sin", f);
  }
  EXPECT_EQ(assetgen::Sin(0.0f), 0.0f);
  EXPECT_EQ(assetgen::Sin(1.5707964f), 1.0f);
  EXPECT_EQ(assetgen::Sin(-1.5707964f), -1.0f);
}

TEST(ExactMath, ExponentialsMatchAndSaturate) {
  for (double x = -100; x <= 88; x += 0.0173) {
    const float f = static_cast<float>(x);
    Expect_Near_Ulp(assetgen::Exp(f), std::exp(static_cast<double>(f)), "Exp", f);
  }
  for (double x = -140; x <= 127; x += 0.0271) {
    const float f = static_cast<float>(x);
    Expect_Near_Ulp(assetgen::Exp2(f), std::exp2(static_cast<double>(f)), "Exp2", f);
  }
  EXPECT_EQ(assetgen::Exp(0.0f), 1.0f);
  EXPECT_EQ(assetgen::Exp2(10.0f), 1024.0f);
  EXPECT_EQ(assetgen::Exp(-1000.0f), 0.0f);  // a long decay ends at silence, not garbage
  EXPECT_EQ(assetgen::Exp2(-200.0f), 0.0f);
  EXPECT_TRUE(std::isinf(assetgen::Exp(100.0f)));
}

}  // namespace
}  // namespace zorvex::testing
