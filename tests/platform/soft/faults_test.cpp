#include "display_fixture.h"

namespace zorvex::testing {
namespace {

TEST(Faults, NthAndEveryCall) {
  soft::TestBackend backend;
  backend.faults().Fail("IDirectDraw4::SetDisplayMode", DDERR_GENERIC, 2);
  IDirectDraw* first = nullptr;
  IDirectDraw4* dd = nullptr;
  ASSERT_EQ(DirectDrawCreate(nullptr, &first, nullptr), DD_OK);
  ASSERT_EQ(first->QueryInterface(IID_IDirectDraw4, reinterpret_cast<void**>(&dd)), DD_OK);
  first->Release();
  EXPECT_EQ(dd->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
  EXPECT_EQ(dd->SetDisplayMode(640, 480, 16, 0, 0), DDERR_GENERIC);
  EXPECT_EQ(dd->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);

  backend.faults().Fail("DirectInputCreateA", DIERR_GENERIC, soft::FaultPlan::kEvery);
  IDirectInput* di = reinterpret_cast<IDirectInput*>(&backend);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(DirectInputCreateA(nullptr, DIRECTINPUT_VERSION, &di, nullptr), DIERR_GENERIC);
    EXPECT_EQ(di, nullptr);
  }
  backend.faults().Clear();
  ASSERT_EQ(DirectInputCreateA(nullptr, DIRECTINPUT_VERSION, &di, nullptr), DI_OK);
  di->Release();
  dd->Release();
}

TEST(Faults, HandleAndFlagCallsFailAsTheSystemDoes) {
  soft::TestBackend backend;
  backend.faults().Fail("LoadImageA", 1);
  backend.faults().Fail("CreateCompatibleDC", 1);
  backend.faults().Fail("BitBlt", 1);
  backend.faults().Fail("RegisterClassA", 1);
  backend.faults().Fail("PeekMessageA", 1);
  EXPECT_EQ(LoadImageA(nullptr, "x.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
  EXPECT_EQ(CreateCompatibleDC(nullptr), nullptr);
  EXPECT_FALSE(BitBlt(nullptr, 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
  WNDCLASSA wc{};
  EXPECT_EQ(RegisterClassA(&wc), 0);
  PostQuitMessage(0);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "only the next call failed";
}

TEST_F(DisplayTest, RoleNamesHitOneObjectAndTheJournalKeepsOrder) {
  auto* sheet = Sheet(2, 2, {1, 2, 3, 4});
  backend.faults().Fail("back.Blt", DDERR_SURFACELOST, soft::FaultPlan::kEvery);
  RECT r{0, 0, 2, 2};
  EXPECT_EQ(back->Blt(&r, sheet, &r, DDBLT_KEYSRC, nullptr), DDERR_SURFACELOST);
  DDBLTFX fx{100, 9};
  EXPECT_EQ(sheet->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
  backend.faults().Clear();

  backend.journal().Clear();
  dd->Release();
  back->Release();
  front->Release();
  sheet->Release();
  dd = nullptr, back = front = nullptr, sheets.clear();
  EXPECT_EQ(backend.journal().Entries(),
            (std::vector<std::string>{"IDirectDraw4.Release", "back.Release", "front.Release",
                                      "back.Release", "offscreen1.Release"}))
      << "the front lets go of its back buffer last";
}

}  // namespace
}  // namespace zorvex::testing
