// The handful of operating-system types and constants the game's code speaks in.
// They mirror the Windows names so that the game reads the same on every platform;
// each backend maps them onto whatever it really has.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plat {

using HRESULT = std::int32_t;
using LRESULT = std::intptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using COLORREF = std::uint32_t;  // 0x00BBGGRR

// Opaque handles: each backend decides what they point at.
struct WindowObj;
struct InstanceObj;
struct DcObj;
struct GdiObj;
using HWND = WindowObj*;
using HINSTANCE = InstanceObj*;
using HDC = DcObj*;
using HGDIOBJ = GdiObj*;
using HBITMAP = HGDIOBJ;
using HBRUSH = HGDIOBJ;
using HICON = HGDIOBJ;
using HCURSOR = HGDIOBJ;
using HANDLE = void*;
using HGLOBAL = void*;  // a block of GlobalAlloc, as the WAV reader hands them out

using WNDPROC = LRESULT (*)(HWND, std::uint32_t, WPARAM, LPARAM);

struct WNDCLASSA {
  std::uint32_t style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  const char* lpszMenuName;
  const char* lpszClassName;
};

struct MSG {
  HWND hwnd;
  std::uint32_t message;
  WPARAM wParam;
  LPARAM lParam;
};

struct RECT {
  std::int32_t left, top, right, bottom;
};

struct PAINTSTRUCT {
  HDC hdc;
  RECT rcPaint;
};

// GetObjectA's view of a bitmap.
struct BITMAP {
  std::int32_t bmType;
  std::int32_t bmWidth;
  std::int32_t bmHeight;
  std::int32_t bmWidthBytes;
  std::uint16_t bmPlanes;
  std::uint16_t bmBitsPixel;
  void* bmBits;
};

// A clip region: a 32-byte header followed by nCount rectangles.
struct RGNDATAHEADER {
  std::uint32_t dwSize;
  std::uint32_t iType;
  std::uint32_t nCount;
  std::uint32_t nRgnSize;
  RECT rcBound;
};
static_assert(sizeof(RGNDATAHEADER) == 32);

struct RGNDATA {
  RGNDATAHEADER rdh;
  char Buffer[16];  // really nCount rectangles; the record is allocated to fit
};

struct GUID {
  std::uint32_t data1;
  std::uint16_t data2, data3;
  std::uint8_t data4[8];
  bool operator==(const GUID&) const = default;
};

// What every object the seam hands out has: Release, by which the game hands it back. An object
// ends itself on its last Release, so none is deleted through the seam.
class SeamObject {
 public:
  virtual std::uint32_t Release() = 0;

 protected:
  ~SeamObject() = default;
};

// Window styles, messages and friends.
constexpr std::uint32_t CS_VREDRAW = 0x0001;
constexpr std::uint32_t CS_HREDRAW = 0x0002;
constexpr std::uint32_t CS_DBLCLKS = 0x0008;
constexpr std::uint32_t CS_OWNDC = 0x0020;
constexpr std::uint32_t WS_POPUP = 0x80000000u;
constexpr std::uint32_t WS_VISIBLE = 0x10000000u;
constexpr std::uint32_t WM_CREATE = 0x0001;
constexpr std::uint32_t WM_DESTROY = 0x0002;
constexpr std::uint32_t WM_PAINT = 0x000F;
constexpr std::uint32_t WM_QUIT = 0x0012;
constexpr std::uint32_t PM_REMOVE = 0x0001;
constexpr std::uintptr_t IDI_APPLICATION = 32512;
constexpr std::uintptr_t IDC_ARROW = 32512;
constexpr int BLACK_BRUSH = 4;
constexpr int VK_ESCAPE = 0x1B;
constexpr std::uint32_t IMAGE_BITMAP = 0;
constexpr std::uint32_t LR_LOADFROMFILE = 0x0010;
constexpr std::uint32_t LR_CREATEDIBSECTION = 0x2000;
constexpr std::uint32_t SRCCOPY = 0x00CC0020;
constexpr int TRANSPARENT = 1;
constexpr std::uint32_t RDH_RECTANGLES = 1;
// The only kind of memory block asked for: fixed, so the handle is the block's address.
constexpr std::uint32_t GMEM_FIXED = 0x0000;

}  // namespace plat
