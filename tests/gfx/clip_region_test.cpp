// The clip region record handed to the clipper.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "gfx/display.h"

namespace zorvex::testing {
namespace {

std::vector<int> Fields(const plat::RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

TEST(ClipRegion, HeaderBoundAndRectanglesForOneSeveralAndNone) {
  plat::RECT two[2] = {{0, 0, 640, 480}, {-5, 20, 5, 500}};
  struct Case {
    int count;
    std::vector<int> bound;
  } cases[] = {{1, {0, 0, 640, 480}}, {2, {-5, 0, 640, 500}}, {0, {64000, 64000, -64000, -64000}}};
  for (const Case& c : cases) {
    plat::RGNDATA* r = Build_Clip_Region(c.count, c.count ? two : nullptr);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->rdh.dwSize, 32u);
    EXPECT_EQ(r->rdh.iType, plat::RDH_RECTANGLES);
    EXPECT_EQ(r->rdh.nCount, static_cast<std::uint32_t>(c.count));
    EXPECT_EQ(r->rdh.nRgnSize, 16u * static_cast<std::uint32_t>(c.count));
    EXPECT_EQ(Fields(r->rdh.rcBound), c.bound) << c.count << " rectangles";
    EXPECT_EQ(std::memcmp(r->Buffer, two, 16u * static_cast<std::size_t>(c.count)), 0);
    std::free(r);
  }
  EXPECT_EQ(Build_Clip_Region(-1, nullptr), nullptr);
}

}  // namespace
}  // namespace zorvex::testing
