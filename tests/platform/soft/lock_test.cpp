// Lock on the flipping pair: while a page's memory is handed out it can be neither drawn on nor
// flipped, and it comes back only once.
#include "display_fixture.h"

namespace zorvex::testing {
namespace {

TEST_F(DisplayTest, LockedPageRefusesChangesUntilUnlocked) {
  Fill(back, RECT{10, 20, 30, 40}, 0xF800);
  ASSERT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  DDSURFACEDESC2 desc{};
  desc.dwSize = plat::DDSURFACEDESC2_SIZE;
  RECT part{10, 20, 30, 40}, off{600, 0, 641, 10};
  EXPECT_EQ(front->Lock(&off, &desc, 0, nullptr), DDERR_INVALIDRECT);
  ASSERT_EQ(front->Lock(&part, &desc, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_EQ(*static_cast<const std::uint16_t*>(desc.lpSurface), 0xF800);
  EXPECT_EQ(desc.lPitch, 1280);

  DDBLTFX fx{100, 0};
  EXPECT_EQ(front->Lock(nullptr, &desc, 0, nullptr), DDERR_SURFACEBUSY);
  EXPECT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACEBUSY);
  EXPECT_EQ(front->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_SURFACEBUSY);
  EXPECT_EQ(back->Blt(nullptr, front, nullptr, DDBLT_WAIT, nullptr), DDERR_SURFACEBUSY);
  EXPECT_EQ(backend.Frames_Presented(), 1);
  EXPECT_EQ(front->Unlock(nullptr), DD_OK);
  EXPECT_EQ(front->Unlock(nullptr), DDERR_NOTLOCKED);
  EXPECT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
}

}  // namespace
}  // namespace zorvex::testing
