// Stands up the test double with a DirectDraw device, the flipping pair and helpers to make
// sheets and clippers the way the game does.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "gfx/display.h"
#include "platform/os.h"
#include "platform/test_double/test_backend.h"

namespace zorvex::testing {

using namespace plat;

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    IDirectDraw* first = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &first, nullptr), DD_OK);
    ASSERT_EQ(first->QueryInterface(IID_IDirectDraw4, reinterpret_cast<void**>(&dd)), DD_OK);
    first->Release();
    DDSURFACEDESC2 desc{};
    desc.dwSize = 124;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 1;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    ASSERT_EQ(dd->CreateSurface(&desc, &front, nullptr), DD_OK);
    DDSCAPS2 caps{DDSCAPS_BACKBUFFER, 0, 0, 0};
    ASSERT_EQ(front->GetAttachedSurface(&caps, &back), DD_OK);
  }
  void TearDown() override {
    for (auto* s : sheets) s->Release();
    if (back) back->Release();
    if (front) front->Release();
    if (dd) dd->Release();
  }

  IDirectDrawSurface4* Sheet(int w, int h, const std::vector<std::uint16_t>& pixels) {
    DDSURFACEDESC2 desc{};
    desc.dwSize = 124;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = static_cast<std::uint32_t>(w);
    desc.dwHeight = static_cast<std::uint32_t>(h);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    IDirectDrawSurface4* s = nullptr;
    EXPECT_EQ(dd->CreateSurface(&desc, &s, nullptr), DD_OK);
    if (!s) return nullptr;
    DDCOLORKEY key{0, 0};
    EXPECT_EQ(s->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    // Paint the sheet through blits of one-pixel fills, as nothing else writes to it.
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) Fill(s, RECT{x, y, x + 1, y + 1}, pixels[y * w + x]);
    sheets.push_back(s);
    return s;
  }

  static void Fill(IDirectDrawSurface4* s, RECT r, std::uint16_t colour) {
    DDBLTFX fx{100, colour};
    ASSERT_EQ(s->Blt(&r, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
  }

  // Clips `s` to `rects`, with the region record the game builds.
  void Clip(IDirectDrawSurface4* s, const std::vector<RECT>& rects) {
    IDirectDrawClipper* clipper = nullptr;
    ASSERT_EQ(dd->CreateClipper(0, &clipper, nullptr), DD_OK);
    RGNDATA* region = zorvex::Build_Clip_Region(static_cast<int>(rects.size()), rects.data());
    EXPECT_EQ(clipper->SetClipList(region, 0), DD_OK);
    std::free(region);
    EXPECT_EQ(s->SetClipper(clipper), DD_OK);
    clipper->Release();  // the surface keeps its own reference
  }

  std::uint16_t Back(int x, int y) {
    return test_double::TestBackend::Pixels_Of(back)[static_cast<std::size_t>(y) * 640 + x];
  }

  test_double::TestBackend backend;
  IDirectDraw4* dd = nullptr;
  IDirectDrawSurface4* front = nullptr;
  IDirectDrawSurface4* back = nullptr;
  std::vector<IDirectDrawSurface4*> sheets;
};

}  // namespace zorvex::testing
