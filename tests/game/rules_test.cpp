#include "game/rules.h"

#include <gtest/gtest.h>

#include <climits>

#include "game/rng.h"

namespace zorvex::testing {
namespace {

TEST(RectsOverlap, OnlyTheMoversCornerStrictlyInsideTheTargetHits) {
  EXPECT_EQ(Rects_Overlap(0, 0, 8, 8, 5, 5, 10, 10), 1);
  EXPECT_EQ(Rects_Overlap(10, 0, 8, 8, 5, 0, 10, 10), 0);  // overlapping, corner x 18 past 15
  EXPECT_EQ(Rects_Overlap(0, 0, 5, 5, 5, 0, 10, 10), 0);   // corner on the left edge
  EXPECT_EQ(Rects_Overlap(0, 0, 30, 470, 0, 448, 64, 16), 0);
  EXPECT_EQ(Rects_Overlap(0, 0, 30, 463, 0, 448, 64, 16), 1);
  EXPECT_EQ(Rects_Overlap(INT_MAX, 0, 1, 8, 0, 0, 10, 10), 0);  // wraps, no overflow
}

TEST(Generator, FollowsTheFixedSequence) {
  srand(1);
  for (int value : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(rand(), value);
  srand(0xFFFFFFFFu);
  for (int i = 0; i < 1000; ++i) ASSERT_LE(static_cast<unsigned>(rand()), 32767u);
}

}  // namespace
}  // namespace zorvex::testing
