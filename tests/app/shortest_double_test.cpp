#include "app/shortest_double.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <random>

namespace zorvex {
namespace {

std::string Library_Form(double value) {
  char buffer[64];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof(buffer), value).ptr);
}

// Traces must come out byte for byte as the C++ library's own shortest form writes them (the
// browser's replays of the kept games add the positions a trace holds).
TEST(ShortestDouble, MatchesTheLibraryFormEverywhere) {
  std::vector<double> values;
  const char* odd =
      "0 -0 1 -1 0.1 100 1e21 1e22 1e-5 1e-7 123456789012345680 5e-324 1.7976931348623157e308 "
      "2.2250738585072014e-308 672 100.8414709848078965 -0.7568024953079282";
  for (char* end; *odd; odd = end) values.push_back(std::strtod(odd, &end));
  for (int k = -1074; k <= 1023; ++k) values.push_back(std::ldexp(1.0, k));  // gaps change here
  for (int k = -30; k <= 30; ++k) values.push_back(std::pow(10.0, k));
  std::mt19937_64 random(7);
  for (int i = 0; i < 20000; ++i) {
    const double v = std::bit_cast<double>(random());
    if (std::isfinite(v)) values.push_back(v);
  }
  int mismatches = 0;
  for (double v : values) {
    if (Shortest_Double(v) != Library_Form(v) && ++mismatches <= 5) {
      ADD_FAILURE() << Shortest_Double(v) << " != " << Library_Form(v);
    }
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace zorvex
