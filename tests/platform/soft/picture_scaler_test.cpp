#include "platform/soft/picture_scaler.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace zorvex::testing {
namespace {

using plat::soft::PictureScaler;
using plat::soft::PixelLayout;
using plat::soft::Place_Picture;
using plat::soft::Placement;
using plat::soft::Widen_565;

TEST(PicturePlacement, WholeFactorsWhereTwiceFitsOtherwiseTheShapeKept) {
  EXPECT_EQ(Place_Picture(640, 480, 1920, 1080), (Placement{320, 60, 1280, 960}));
  EXPECT_EQ(Place_Picture(640, 480, 2560, 1440), (Placement{320, 0, 1920, 1440}));
  EXPECT_EQ(Place_Picture(640, 480, 640, 480), (Placement{0, 0, 640, 480}));
  EXPECT_EQ(Place_Picture(640, 480, 1024, 768), (Placement{0, 0, 1024, 768}));
  EXPECT_EQ(Place_Picture(640, 480, 1280, 720), (Placement{160, 0, 960, 720}));
  EXPECT_EQ(Place_Picture(640, 480, 800, 1000), (Placement{0, 200, 800, 600}));
  EXPECT_EQ(Place_Picture(640, 480, 0, 480), Placement{});
}

TEST(PictureScaler, EveryOutputPixelIsItsNearestSourcePixelWidenedAndTheBarsAreUntouched) {
  EXPECT_EQ(Widen_565(0xFFFF, PixelLayout{}), 0xFFFFFFFFu);
  EXPECT_EQ(Widen_565(0xF800, PixelLayout{}), 0xFFFF0000u);
  EXPECT_EQ(Widen_565(0x0821, PixelLayout{}), 0xFF080408u);  // the lowest bit of each channel
  EXPECT_EQ(Widen_565(0x001F, PixelLayout{0, 8, 16, 0}), 0x00FF0000u);

  constexpr std::uint32_t kUntouched = 0x12345678;
  // Odd widths reach the plain tail of every vector loop; the outputs give factors 1 to 3 and
  // both uneven directions.
  for (auto [pw, ph, ow, oh] : {std::tuple{13, 7, 13, 7},
                                {13, 7, 30, 20},
                                {13, 7, 41, 23},
                                {13, 7, 20, 9},
                                {13, 7, 17, 30}}) {
    std::vector<std::uint16_t> picture(pw * ph);
    for (std::size_t i = 0; i < picture.size(); ++i)
      picture[i] = static_cast<std::uint16_t>(i * 2654435761u >> 7);
    const int pitch = ow + 3;  // rows longer than the output, as window pixels may be
    std::vector<std::uint32_t> out(static_cast<std::size_t>(pitch) * oh, kUntouched);
    const PixelLayout layout;
    PictureScaler scaler;
    scaler.Set_Up(pw, ph, ow, oh, layout);
    scaler.Draw(picture.data(), out.data(), pitch * sizeof(std::uint32_t));
    const Placement p = scaler.Where();
    ASSERT_EQ(p, Place_Picture(pw, ph, ow, oh));
    for (int y = 0; y < oh; ++y) {
      for (int x = 0; x < pitch; ++x) {
        const bool inside = x >= p.x && x < p.x + p.w && y >= p.y && y < p.y + p.h;
        const std::uint32_t want =
            inside ? Widen_565(picture[(y - p.y) * ph / p.h * pw + (x - p.x) * pw / p.w], layout)
                   : kUntouched;
        ASSERT_EQ(out[y * pitch + x], want) << ow << "x" << oh << " at " << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace zorvex::testing
