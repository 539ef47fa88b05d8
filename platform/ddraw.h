// The display interfaces the game uses: a DirectDraw-shaped seam.
// Results follow DirectDraw: 0 is DD_OK, failures are negative.
#pragma once

#include "platform/win_types.h"

namespace plat {

// The one display mode the game sets: the backends size the screen and its pages by it.
constexpr int SCREEN_WIDTH = 640;
constexpr int SCREEN_HEIGHT = 480;

// What the platform's records measure, the value their dwSize must hold (ours are laid out
// differently, so sizeof would not do).
constexpr std::uint32_t DDSURFACEDESC2_SIZE = 124;
constexpr std::uint32_t DDBLTFX_SIZE = 100;

constexpr HRESULT DD_OK = 0;
constexpr HRESULT DDERR_GENERIC = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT DDERR_INVALIDPARAMS = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT DDERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT DDERR_SURFACELOST = static_cast<HRESULT>(0x887601C2u);
constexpr HRESULT DDERR_INVALIDRECT = static_cast<HRESULT>(0x88760096u);
constexpr HRESULT DDERR_NOCLIPLIST = static_cast<HRESULT>(0x887600CDu);
constexpr HRESULT DDERR_SURFACEBUSY = static_cast<HRESULT>(0x887601AEu);
constexpr HRESULT DDERR_NOTLOCKED = static_cast<HRESULT>(0x88760248u);

constexpr std::uint32_t DDSCL_FULLSCREEN = 0x01;
constexpr std::uint32_t DDSCL_ALLOWREBOOT = 0x02;
constexpr std::uint32_t DDSCL_EXCLUSIVE = 0x10;
constexpr std::uint32_t DDSCL_ALLOWMODEX = 0x40;

constexpr std::uint32_t DDSD_CAPS = 0x1;
constexpr std::uint32_t DDSD_HEIGHT = 0x2;
constexpr std::uint32_t DDSD_WIDTH = 0x4;
constexpr std::uint32_t DDSD_PITCH = 0x8;
constexpr std::uint32_t DDSD_BACKBUFFERCOUNT = 0x20;
constexpr std::uint32_t DDSD_LPSURFACE = 0x800;
constexpr std::uint32_t DDSD_PIXELFORMAT = 0x1000;

constexpr std::uint32_t DDPF_RGB = 0x40;

constexpr std::uint32_t DDLOCK_WAIT = 0x1;
constexpr std::uint32_t DDLOCK_READONLY = 0x10;

constexpr std::uint32_t DDSCAPS_COMPLEX = 0x8;
constexpr std::uint32_t DDSCAPS_FLIP = 0x10;
constexpr std::uint32_t DDSCAPS_BACKBUFFER = 0x4;
constexpr std::uint32_t DDSCAPS_OFFSCREENPLAIN = 0x40;
constexpr std::uint32_t DDSCAPS_PRIMARYSURFACE = 0x200;

constexpr std::uint32_t DDCKEY_SRCBLT = 0x8;
constexpr std::uint32_t DDBLT_COLORFILL = 0x400;
constexpr std::uint32_t DDBLT_KEYSRC = 0x8000;
constexpr std::uint32_t DDBLT_WAIT = 0x1000000;
constexpr std::uint32_t DDFLIP_WAIT = 0x1;

struct DDSCAPS2 {
  std::uint32_t dwCaps, dwCaps2, dwCaps3, dwCaps4;
};

struct DDPIXELFORMAT {
  std::uint32_t dwSize;  // 32
  std::uint32_t dwFlags;
  std::uint32_t dwFourCC;
  std::uint32_t dwRGBBitCount;
  std::uint32_t dwRBitMask;
  std::uint32_t dwGBitMask;
  std::uint32_t dwBBitMask;
  std::uint32_t dwRGBAlphaBitMask;
};

// Only the members the game fills in or reads back from Lock; dwSize still carries the
// platform's 124.
struct DDSURFACEDESC2 {
  std::uint32_t dwSize;
  std::uint32_t dwFlags;
  std::uint32_t dwHeight;
  std::uint32_t dwWidth;
  std::int32_t lPitch;  // bytes from one row to the next
  std::uint32_t dwBackBufferCount;
  void* lpSurface;
  DDPIXELFORMAT ddpfPixelFormat;
  DDSCAPS2 ddsCaps;
};

struct DDCOLORKEY {
  std::uint32_t dwColorSpaceLowValue;
  std::uint32_t dwColorSpaceHighValue;
};

// Only the members the game fills in; dwSize still carries the platform's 100.
struct DDBLTFX {
  std::uint32_t dwSize;
  std::uint32_t dwFillColor;
};

extern const GUID IID_IDirectDraw4;

class IDirectDrawClipper : public SeamObject {
 public:
  virtual HRESULT SetClipList(const RGNDATA* region, std::uint32_t flags) = 0;
};

class IDirectDrawSurface4 : public SeamObject {
 public:
  virtual HRESULT Blt(const RECT* dst, IDirectDrawSurface4* src, const RECT* src_rect,
                      std::uint32_t flags, const DDBLTFX* fx) = 0;
  virtual HRESULT Flip(IDirectDrawSurface4* target, std::uint32_t flags) = 0;
  virtual HRESULT GetAttachedSurface(const DDSCAPS2* caps, IDirectDrawSurface4** out) = 0;
  virtual HRESULT SetClipper(IDirectDrawClipper* clipper) = 0;
  virtual HRESULT SetColorKey(std::uint32_t flags, const DDCOLORKEY* key) = 0;
  virtual HRESULT GetDC(HDC* out) = 0;
  virtual HRESULT ReleaseDC(HDC dc) = 0;
  // Hands out the surface's memory (the whole surface when `rect` is null) until Unlock; while
  // locked the surface takes no blits and no flips.
  virtual HRESULT Lock(RECT* rect, DDSURFACEDESC2* desc, std::uint32_t flags, HANDLE event) = 0;
  virtual HRESULT Unlock(RECT* rect) = 0;
};

class IDirectDraw4 : public SeamObject {
 public:
  virtual HRESULT SetCooperativeLevel(HWND window, std::uint32_t flags) = 0;
  virtual HRESULT SetDisplayMode(std::uint32_t width, std::uint32_t height, std::uint32_t bpp,
                                 std::uint32_t refresh, std::uint32_t flags) = 0;
  virtual HRESULT CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface4** out, void* outer) = 0;
  virtual HRESULT CreateClipper(std::uint32_t flags, IDirectDrawClipper** out, void* outer) = 0;
};

// The first object DirectDrawCreate hands out; the game only asks it for IDirectDraw4.
class IDirectDraw : public SeamObject {
 public:
  virtual HRESULT QueryInterface(const GUID& iid, void** out) = 0;
};

}  // namespace plat
