// Truncation of drifted places: toward zero, saturated at the 32-bit ends, 0 for NaN.
#include "core/arith.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

namespace zorvex::testing {
namespace {

TEST(Arith, TruncationGoesTowardZeroAndSaturatesAtBothEnds) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  const std::pair<double, std::int32_t> cases[] = {{0.0, 0},
                                                   {-0.9, 0},
                                                   {416.99, 416},
                                                   {-3.5, -3},
                                                   {2147483647.9, kMax},
                                                   {2147483648.0, kMax},
                                                   {1e300, kMax},
                                                   {INFINITY, kMax},
                                                   {-2147483648.9, kMin},
                                                   {-2147483649.0, kMin},
                                                   {-INFINITY, kMin},
                                                   {NAN, 0}};
  for (auto [value, want] : cases) EXPECT_EQ(Trunc_Int(value), want) << value;
}

}  // namespace
}  // namespace zorvex::testing
