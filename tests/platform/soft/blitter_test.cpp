#include <tuple>

#include "display_fixture.h"

namespace zorvex::testing {
namespace {

// A 4x4 sheet: key colour 0 in the centre column pair of row 1, distinct colours elsewhere.
std::vector<std::uint16_t> Sheet_Pixels() {
  std::vector<std::uint16_t> p(16);
  for (int i = 0; i < 16; ++i) p[i] = static_cast<std::uint16_t>(0x100 + i);
  p[5] = p[6] = 0;
  return p;
}

RECT R(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

TEST_F(DisplayTest, WideKeyedRowsMatchAPlainLoop) {
  // Long rows go through the wide paths (32 and 8 pixels at a time): rows wholly opaque,
  // wholly of the key, mixed, and runs of each must come out pixel for pixel.
  const int w = 75, h = 5;
  std::vector<std::uint16_t> p(w * h);
  for (int i = 0; i < w * h; ++i) {
    const int x = i % w, y = i / w;
    const bool hole = y == 1                                      // all key
                      || (y == 2 && (i % 3 == 0 || (i / 8) % 2))  // mixed everywhere
                      || (y == 3 && x >= 32 && x < 64)            // opaque, key, opaque runs
                      || (y == 4 && x % 40 == 39);                // one hole late in a run
    p[i] = hole ? 0 : static_cast<std::uint16_t>(0x4000 + i);
  }
  auto* sheet = Sheet(w, h, p);
  Fill(back, R(0, 0, 640, 480), 0x1234);
  RECT dst = R(100, 100, 100 + w, 100 + h), src = R(0, 0, w, h);
  ASSERT_EQ(back->Blt(&dst, sheet, &src, DDBLT_KEYSRC, nullptr), DD_OK);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      ASSERT_EQ(Back(100 + x, 100 + y), p[y * w + x] ? p[y * w + x] : 0x1234) << x << "," << y;
  // Without DDBLT_KEYSRC the key colour is copied like any other.
  ASSERT_EQ(back->Blt(&dst, sheet, &src, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(Back(100, 101), 0);
}

TEST_F(DisplayTest, ClipperClipsAtEveryEdgeAndCorner) {
  auto* sheet = Sheet(4, 4, Sheet_Pixels());
  Clip(back, {R(0, 0, 640, 480)});
  const auto want = Sheet_Pixels();
  // (x, y) of the sprite's top-left: straddling each edge and each corner.
  const std::vector<std::pair<int, int>> places = {{-2, 100}, {638, 100}, {300, -2}, {300, 478},
                                                   {-2, -2},  {638, -2},  {-2, 478}, {638, 478}};
  for (auto [px, py] : places) {
    Fill(back, R(0, 0, 640, 480), 0x0101);
    RECT dst = R(px, py, px + 4, py + 4), src = R(0, 0, 4, 4);
    ASSERT_EQ(back->Blt(&dst, sheet, &src, DDBLT_KEYSRC | DDBLT_WAIT, nullptr), DD_OK)
        << px << "," << py;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) {
        int sx = px + x, sy = py + y;
        if (sx < 0 || sy < 0 || sx >= 640 || sy >= 480) continue;
        std::uint16_t w = want[y * 4 + x];
        EXPECT_EQ(Back(sx, sy), w ? w : 0x0101) << px << "," << py << " at " << x << "," << y;
      }
  }
  // Wholly off screen: nothing drawn, still fine.
  RECT away = R(700, 10, 704, 14), src = R(0, 0, 4, 4);
  EXPECT_EQ(back->Blt(&away, sheet, &src, DDBLT_KEYSRC, nullptr), DD_OK);
}

TEST_F(DisplayTest, ClipListWithSeveralRectangles) {
  Clip(back, {R(0, 0, 10, 10), R(20, 0, 30, 10), R(5, 5, 8, 8)});
  Fill(back, R(0, 0, 40, 10), 0xAAAA);  // colour fill obeys the clipper too
  for (auto [x, y, want] : {std::tuple{0, 0, 0xAAAA},
                            {9, 9, 0xAAAA},
                            {10, 0, 0},
                            {19, 5, 0},
                            {20, 0, 0xAAAA},
                            {29, 9, 0xAAAA},
                            {30, 0, 0}})
    EXPECT_EQ(Back(x, y), want) << x << "," << y;
}

TEST_F(DisplayTest, BadRectanglesFailAsTheRealCallDoes) {
  auto* sheet = Sheet(4, 4, Sheet_Pixels());
  RECT src = R(0, 0, 4, 4);
  // No clipper: a destination reaching off the surface is refused.
  RECT off = R(638, 0, 642, 4);
  EXPECT_EQ(back->Blt(&off, sheet, &src, DDBLT_KEYSRC, nullptr), DDERR_INVALIDRECT);
  Fill(back, R(0, 0, 640, 480), 0x0F0F);
  EXPECT_EQ(Back(639, 0), 0x0F0F) << "a refused blit draws nothing";
  // A source rectangle not wholly on the sheet is refused, clipper or not.
  Clip(back, {R(0, 0, 640, 480)});
  RECT dst = R(0, 0, 4, 4);
  for (RECT bad : {R(1, 0, 5, 4), R(-1, 0, 3, 4), R(0, 2, 4, 6), R(0, -3, 4, 1)})
    EXPECT_EQ(back->Blt(&dst, sheet, &bad, DDBLT_KEYSRC, nullptr), DDERR_INVALIDRECT);
  // An empty rectangle is nothing to do, not an error.
  RECT empty = R(5, 5, 5, 9);
  EXPECT_EQ(back->Blt(&empty, sheet, &empty, DDBLT_KEYSRC, nullptr), DD_OK);
  // Huge coordinates must not overflow into a visible draw.
  RECT huge = R(2147483640, 0, 2147483644, 4);
  EXPECT_EQ(back->Blt(&huge, sheet, &src, DDBLT_KEYSRC, nullptr), DD_OK);
  EXPECT_EQ(Back(0, 0), 0x0F0F);
}

TEST_F(DisplayTest, MalformedOrMissingClipListsAreRefused) {
  IDirectDrawClipper* clipper = nullptr;
  ASSERT_EQ(dd->CreateClipper(0, &clipper, nullptr), DD_OK);
  const RECT screen = R(0, 0, 640, 480);
  RGNDATA* region = zorvex::Build_Clip_Region(1, &screen);
  region->rdh.nRgnSize = 8;  // claims less room than one rectangle needs
  EXPECT_EQ(clipper->SetClipList(region, 0), DDERR_INVALIDPARAMS);
  region->rdh.nRgnSize = 16;
  region->rdh.iType = 2;
  EXPECT_EQ(clipper->SetClipList(region, 0), DDERR_INVALIDPARAMS);
  std::free(region);
  // A clipper with no list refuses every blit.
  ASSERT_EQ(back->SetClipper(clipper), DD_OK);
  clipper->Release();
  DDBLTFX fx{100, 1};
  EXPECT_EQ(back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_NOCLIPLIST);
}

TEST_F(DisplayTest, SurfaceCreationChecksItsDescription) {
  DDSURFACEDESC2 desc{};
  desc.dwSize = 124;
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
  IDirectDrawSurface4* s = reinterpret_cast<IDirectDrawSurface4*>(&desc);
  for (auto [w, h] : {std::pair{0u, 10u}, {10u, 0u}, {100000u, 1u}, {16384u, 16384u}}) {
    desc.dwWidth = w, desc.dwHeight = h;
    EXPECT_EQ(dd->CreateSurface(&desc, &s, nullptr), DDERR_INVALIDPARAMS) << w << "x" << h;
    EXPECT_EQ(s, nullptr);
  }
  desc.dwWidth = desc.dwHeight = 8;
  desc.dwSize = 100;
  EXPECT_EQ(dd->CreateSurface(&desc, &s, nullptr), DDERR_INVALIDPARAMS);
  // Only the screen's own mode is offered.
  EXPECT_EQ(dd->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
  EXPECT_EQ(dd->SetDisplayMode(800, 600, 16, 0, 0), DDERR_INVALIDPARAMS);
}

// What a flip shows is held by the frame and snapshot tests, which read the pictures flipped.
TEST_F(DisplayTest, FlipWhileHiddenWaitsUntilShownOrClosed) {
  EXPECT_EQ(back->Flip(nullptr, DDFLIP_WAIT), DDERR_GENERIC) << "the back is not a chain head";
  backend.Hide_For(3);
  int lost = 0;
  HRESULT r;
  while ((r = front->Flip(nullptr, DDFLIP_WAIT)) != DD_OK) {
    ASSERT_EQ(r, DDERR_SURFACELOST);
    ASSERT_LT(++lost, 10);
  }
  EXPECT_EQ(lost, 3);
  EXPECT_EQ(backend.host().Waits(), 3);
  EXPECT_EQ(backend.Frames_Presented(), 1);
  // A close request ends a wait that would not end otherwise.
  backend.Hide_For(1000000);
  EXPECT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACELOST);
  backend.Close_Window();
  int tries = 0;
  while (front->Flip(nullptr, DDFLIP_WAIT) != DD_OK) ASSERT_LT(++tries, 3);
}

}  // namespace
}  // namespace zorvex::testing
