// Display start-up, the back buffer and its clipper, clearing and page flipping.
#include "gfx/display.h"

#include <cstdlib>
#include <cstring>

#include "core/log.h"
#include "core/startup.h"
#include "core/window.h"
#include "gfx/sprites.h"
#include "platform/os.h"

namespace zorvex {

using namespace plat;

IDirectDraw4* lpdd = nullptr;
IDirectDrawSurface4* lpddsfront = nullptr;
IDirectDrawSurface4* lpddsback = nullptr;
IDirectDrawClipper* lpddclipper = nullptr;
IDirectDrawSurface4* lpddsgfx = nullptr;
IDirectDrawSurface4* lpddssys = nullptr;

namespace {

constexpr std::uint32_t COOPERATIVE_FLAGS =
    DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX;
// A flip that keeps failing for a reason other than the game being out of sight gives the frame
// up instead of holding the game for ever.
constexpr int FLIP_ATTEMPTS = 100;

int Create_Display() {
  IDirectDraw* first = nullptr;
  if (DirectDrawCreate(nullptr, &first, nullptr) < 0) return Fail_Startup("DDraw Create Failed.");
  if (first->QueryInterface(IID_IDirectDraw4, reinterpret_cast<void**>(&lpdd)) < 0) {
    lpdd = nullptr;
    first->Release();  // nothing else will ever reach it
    return Fail_Startup("DDraw QueryInterface Failed.");
  }
  first->Release();
  if (lpdd->SetCooperativeLevel(main_window, COOPERATIVE_FLAGS) < 0) {
    return Fail_Startup("Set Coop Level Failed.");
  }
  if (lpdd->SetDisplayMode(SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_BPP, 0, 0) < 0) {
    return Fail_Startup("Set Display Mode Failed.");
  }
  return 1;
}

// Every later step draws on these two pages, so start-up stops when either is missing.
int Create_Pages() {
  DDSURFACEDESC2 desc{};
  desc.dwSize = DDSURFACEDESC2_SIZE;
  desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  desc.dwBackBufferCount = 1;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
  if (lpdd->CreateSurface(&desc, &lpddsfront, nullptr) < 0) {
    lpddsfront = nullptr;
    return Fail_Startup("Primary Create Fail.");
  }
  DDSCAPS2 caps{};
  caps.dwCaps = DDSCAPS_BACKBUFFER;
  if (lpddsfront->GetAttachedSurface(&caps, &lpddsback) < 0) {
    lpddsback = nullptr;
    return Fail_Startup("Query For Back Buffer Failed.");
  }
  RECT screen{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
  lpddclipper = Attach_Clipper(lpddsback, 1, &screen);  // without one the game still runs
  Clear_Surface(lpddsfront, 0);
  Clear_Surface(lpddsback, 0);
  return 1;
}

int Load_Sheets() {
  lpddsgfx = Load_Bitmap_Surface("gfx.bmp");
  if (!lpddsgfx) return Fail_Startup("Could not create lpddsgfx", "gfx.bmp");
  lpddssys = Load_Bitmap_Surface("ui.bmp");
  if (!lpddssys) return Fail_Startup("Could not create lpddssys", "ui.bmp");
  return 1;
}

}  // namespace

int Init_Display() { return Create_Display() && Create_Pages() && Load_Sheets() ? 1 : 0; }

RGNDATA* Build_Clip_Region(std::int32_t count, const RECT* rects) {
  if (count < 0) return nullptr;
  std::size_t bytes = (static_cast<std::size_t>(count) + 2) * sizeof(RECT);
  auto* region =
      static_cast<RGNDATA*>(std::calloc(1, bytes < sizeof(RGNDATA) ? sizeof(RGNDATA) : bytes));
  if (!region) return nullptr;
  if (count > 0) std::memcpy(region->Buffer, rects, static_cast<std::size_t>(count) * sizeof(RECT));
  region->rdh.dwSize = sizeof(RGNDATAHEADER);
  region->rdh.iType = RDH_RECTANGLES;
  region->rdh.nCount = static_cast<std::uint32_t>(count);
  region->rdh.nRgnSize = static_cast<std::uint32_t>(count) * sizeof(RECT);
  // Kept quirk: the bound starts from these sentinels, not the integer limits.
  RECT bound{64000, 64000, -64000, -64000};
  for (std::int32_t i = 0; i < count; ++i) {
    if (rects[i].left < bound.left) bound.left = rects[i].left;
    if (rects[i].right > bound.right) bound.right = rects[i].right;
    if (rects[i].top < bound.top) bound.top = rects[i].top;
    if (rects[i].bottom > bound.bottom) bound.bottom = rects[i].bottom;
  }
  region->rdh.rcBound = bound;
  return region;
}

IDirectDrawClipper* Attach_Clipper(IDirectDrawSurface4* surface, std::int32_t count,
                                   const RECT* rects) {
  IDirectDrawClipper* clipper = nullptr;
  if (lpdd->CreateClipper(0, &clipper, nullptr) != DD_OK) return nullptr;
  RGNDATA* region = Build_Clip_Region(count, rects);
  bool attached =
      region && clipper->SetClipList(region, 0) == DD_OK && surface->SetClipper(clipper) == DD_OK;
  std::free(region);
  if (!attached) {
    clipper->Release();  // a clipper nobody holds would only leak
    return nullptr;
  }
  return clipper;
}

IDirectDrawSurface4* Create_Offscreen(std::int32_t width, std::int32_t height) {
  DDSURFACEDESC2 desc{};
  desc.dwSize = DDSURFACEDESC2_SIZE;
  desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  desc.dwHeight = static_cast<std::uint32_t>(height);
  desc.dwWidth = static_cast<std::uint32_t>(width);
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
  IDirectDrawSurface4* surface = nullptr;
  if (lpdd->CreateSurface(&desc, &surface, nullptr) != DD_OK) return nullptr;
  DDCOLORKEY key{0, 0};
  surface->SetColorKey(DDCKEY_SRCBLT, &key);
  return surface;
}

int Clear_Surface(IDirectDrawSurface4* surface, std::uint32_t colour) {
  DDBLTFX fx{};
  fx.dwSize = DDBLTFX_SIZE;
  fx.dwFillColor = colour;
  if (surface) surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
  return 1;
}

int Flip_Pages() {
  // While the game is out of sight the flip waits inside the backend and reports the surface
  // lost; that wait is the game's pause, and it goes on where it was when it is seen again.
  int attempts = 0;
  for (;;) {
    HRESULT result = lpddsfront->Flip(nullptr, DDFLIP_WAIT);
    if (result == DD_OK) break;
    if (result != DDERR_SURFACELOST && ++attempts >= FLIP_ATTEMPTS) break;
  }
  return 1;
}

void Release_Clipper() {
  if (lpddclipper) lpddclipper->Release();
  lpddclipper = nullptr;
}

}  // namespace zorvex
