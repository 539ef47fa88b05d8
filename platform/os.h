// The seam between the game and the machine it runs on.
//
// The game calls these free functions exactly as it would call the operating system and
// DirectX; each forwards to the backend in use (SDL2, the in-memory headless backend, or a
// test double). Nothing above this header knows which one it is talking to.
#pragma once

#include "platform/ddraw.h"
#include "platform/dinput.h"
#include "platform/dsound.h"
#include "platform/win_types.h"

namespace plat {

// One frame's worth of input and time, for replays, recordings and the autopilot (see
// platform/script/script_os.h).
struct FrameInput {
  std::uint32_t tick = 0;
  std::int32_t dx = 0;
  bool lmb = false;
  bool enter = false;
  bool esc = false;
};

class Os {
 public:
  virtual ~Os() = default;

  // Windowing.
  virtual std::uint16_t RegisterClassA(const WNDCLASSA* wc) = 0;
  virtual HWND CreateWindowExA(std::uint32_t ex_style, const char* class_name, const char* title,
                               std::uint32_t style, int x, int y, int w, int h, HWND parent,
                               void* menu, HINSTANCE instance, void* param) = 0;
  virtual bool PeekMessageA(MSG* msg, HWND window, std::uint32_t first, std::uint32_t last,
                            std::uint32_t remove) = 0;
  virtual bool TranslateMessage(const MSG* msg) = 0;
  virtual LRESULT DispatchMessageA(const MSG* msg) = 0;
  virtual bool PostMessageA(HWND window, std::uint32_t message, WPARAM wp, LPARAM lp) = 0;
  virtual void PostQuitMessage(int exit_code) = 0;
  virtual LRESULT DefWindowProcA(HWND window, std::uint32_t message, WPARAM wp, LPARAM lp) = 0;
  virtual HDC BeginPaint(HWND window, PAINTSTRUCT* ps) = 0;
  virtual bool EndPaint(HWND window, const PAINTSTRUCT* ps) = 0;
  virtual std::int16_t GetAsyncKeyState(int virtual_key) = 0;
  virtual int ShowCursor(bool show) = 0;
  virtual HICON LoadIconA(HINSTANCE instance, std::uintptr_t id) = 0;
  virtual HCURSOR LoadCursorA(HINSTANCE instance, std::uintptr_t id) = 0;
  virtual HGDIOBJ GetStockObject(int which) = 0;

  // Kernel.
  virtual std::uint32_t GetTickCount() = 0;
  virtual void OutputDebugStringA(const char* text) = 0;

  // GDI: bitmaps from files, device contexts, text.
  virtual HGDIOBJ LoadImageA(HINSTANCE instance, const char* name, std::uint32_t type, int cx,
                             int cy, std::uint32_t flags) = 0;
  virtual int GetObjectA(HGDIOBJ object, int size, void* out) = 0;
  virtual HDC CreateCompatibleDC(HDC reference) = 0;
  virtual HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) = 0;
  virtual bool BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy,
                      std::uint32_t rop) = 0;
  virtual bool DeleteDC(HDC dc) = 0;
  virtual bool DeleteObject(HGDIOBJ object) = 0;
  virtual COLORREF SetTextColor(HDC dc, COLORREF colour) = 0;
  virtual int SetBkMode(HDC dc, int mode) = 0;
  virtual bool TextOutA(HDC dc, int x, int y, const char* text, int length) = 0;

  // DirectX entry points.
  virtual HRESULT DirectDrawCreate(const GUID* device, IDirectDraw** out, void* outer) = 0;
  virtual HRESULT DirectSoundCreate(const GUID* device, IDirectSound** out, void* outer) = 0;
  virtual HRESULT DirectInputCreateA(HINSTANCE instance, std::uint32_t version, IDirectInput** out,
                                     void* outer) = 0;
};

// The backend in use. Set once before WinMain runs; tests swap in their double.
Os& os();
void Use_Os(Os* backend);

inline std::uint16_t RegisterClassA(const WNDCLASSA* wc) { return os().RegisterClassA(wc); }
inline HWND CreateWindowExA(std::uint32_t ex_style, const char* class_name, const char* title,
                            std::uint32_t style, int x, int y, int w, int h, HWND parent,
                            void* menu, HINSTANCE instance, void* param) {
  return os().CreateWindowExA(ex_style, class_name, title, style, x, y, w, h, parent, menu,
                              instance, param);
}
inline bool PeekMessageA(MSG* msg, HWND window, std::uint32_t first, std::uint32_t last,
                         std::uint32_t remove) {
  return os().PeekMessageA(msg, window, first, last, remove);
}
inline bool TranslateMessage(const MSG* msg) { return os().TranslateMessage(msg); }
inline LRESULT DispatchMessageA(const MSG* msg) { return os().DispatchMessageA(msg); }
inline bool PostMessageA(HWND window, std::uint32_t message, WPARAM wp, LPARAM lp) {
  return os().PostMessageA(window, message, wp, lp);
}
inline void PostQuitMessage(int exit_code) { os().PostQuitMessage(exit_code); }
inline LRESULT DefWindowProcA(HWND window, std::uint32_t message, WPARAM wp, LPARAM lp) {
  return os().DefWindowProcA(window, message, wp, lp);
}
inline HDC BeginPaint(HWND window, PAINTSTRUCT* ps) { return os().BeginPaint(window, ps); }
inline bool EndPaint(HWND window, const PAINTSTRUCT* ps) { return os().EndPaint(window, ps); }
inline std::int16_t GetAsyncKeyState(int virtual_key) { return os().GetAsyncKeyState(virtual_key); }
inline int ShowCursor(bool show) { return os().ShowCursor(show); }
inline HICON LoadIconA(HINSTANCE instance, std::uintptr_t id) {
  return os().LoadIconA(instance, id);
}
inline HCURSOR LoadCursorA(HINSTANCE instance, std::uintptr_t id) {
  return os().LoadCursorA(instance, id);
}
inline HGDIOBJ GetStockObject(int which) { return os().GetStockObject(which); }
inline std::uint32_t GetTickCount() { return os().GetTickCount(); }
inline void OutputDebugStringA(const char* text) { os().OutputDebugStringA(text); }
inline HGDIOBJ LoadImageA(HINSTANCE instance, const char* name, std::uint32_t type, int cx, int cy,
                          std::uint32_t flags) {
  return os().LoadImageA(instance, name, type, cx, cy, flags);
}
inline int GetObjectA(HGDIOBJ object, int size, void* out) {
  return os().GetObjectA(object, size, out);
}
inline HDC CreateCompatibleDC(HDC reference) { return os().CreateCompatibleDC(reference); }
inline HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) { return os().SelectObject(dc, object); }
inline bool BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy,
                   std::uint32_t rop) {
  return os().BitBlt(dst, x, y, w, h, src, sx, sy, rop);
}
inline bool DeleteDC(HDC dc) { return os().DeleteDC(dc); }
inline bool DeleteObject(HGDIOBJ object) { return os().DeleteObject(object); }
inline COLORREF SetTextColor(HDC dc, COLORREF colour) { return os().SetTextColor(dc, colour); }
inline int SetBkMode(HDC dc, int mode) { return os().SetBkMode(dc, mode); }
inline bool TextOutA(HDC dc, int x, int y, const char* text, int length) {
  return os().TextOutA(dc, x, y, text, length);
}
inline HRESULT DirectDrawCreate(const GUID* device, IDirectDraw** out, void* outer) {
  return os().DirectDrawCreate(device, out, outer);
}
inline HRESULT DirectSoundCreate(const GUID* device, IDirectSound** out, void* outer) {
  return os().DirectSoundCreate(device, out, outer);
}
inline HRESULT DirectInputCreateA(HINSTANCE instance, std::uint32_t version, IDirectInput** out,
                                  void* outer) {
  return os().DirectInputCreateA(instance, version, out, outer);
}

}  // namespace plat
