// Lock on the flipping pair: after a flip the primary hands out the picture on show, and while
// locked neither page can be drawn on or flipped.
#include "display_fixture.h"

namespace zorvex_test {
namespace {

TEST_F(DisplayTest, LockedPrimaryHoldsThePictureShownAndRefusesChanges) {
  Fill(back, RECT{0, 0, 640, 480}, 0x001F);
  Fill(back, RECT{10, 20, 30, 40}, 0xF800);
  ASSERT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  Fill(back, RECT{0, 0, 640, 480}, 0x07E0);  // the next frame, not yet shown

  DDSURFACEDESC2 desc{};
  desc.dwSize = 124;
  ASSERT_EQ(front->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
  ASSERT_EQ(desc.dwWidth, 640u);
  ASSERT_EQ(desc.dwHeight, 480u);
  ASSERT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 16u);
  EXPECT_EQ(desc.ddpfPixelFormat.dwGBitMask, 0x07E0u);
  const std::vector<std::uint16_t>& shown = backend.host().Last_Frame();
  ASSERT_EQ(shown.size(), 640u * 480u);
  const auto* bytes = static_cast<const std::uint8_t*>(desc.lpSurface);
  int differing = 0;
  for (int y = 0; y < 480; ++y) {
    const auto* row = reinterpret_cast<const std::uint16_t*>(bytes + y * desc.lPitch);
    for (int x = 0; x < 640; ++x) differing += row[x] != shown[y * 640 + x];
  }
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(shown[25 * 640 + 15], 0xF800);

  DDSURFACEDESC2 again{};
  again.dwSize = 124;
  DDBLTFX fx{100, 0};
  EXPECT_EQ(front->Lock(nullptr, &again, 0, nullptr), DDERR_SURFACEBUSY);
  EXPECT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACEBUSY);
  EXPECT_EQ(front->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_SURFACEBUSY);
  EXPECT_EQ(back->Blt(nullptr, front, nullptr, DDBLT_WAIT, nullptr), DDERR_SURFACEBUSY);
  EXPECT_EQ(backend.Frames_Presented(), 1);
  EXPECT_EQ(front->Unlock(nullptr), DD_OK);
  EXPECT_EQ(front->Unlock(nullptr), DDERR_NOTLOCKED);

  // A rectangle starts the memory at its corner; one off the surface is refused.
  RECT part{10, 20, 30, 40}, off{600, 0, 641, 10};
  ASSERT_EQ(front->Lock(&part, &desc, 0, nullptr), DD_OK);
  EXPECT_EQ(*static_cast<const std::uint16_t*>(desc.lpSurface), 0xF800);
  EXPECT_EQ(front->Unlock(&part), DD_OK);
  EXPECT_EQ(front->Lock(&off, &desc, 0, nullptr), DDERR_INVALIDRECT);
  EXPECT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  EXPECT_EQ(backend.Front_Pixels().at(0), 0x07E0);
}

}  // namespace
}  // namespace zorvex_test
