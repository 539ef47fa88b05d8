// Win32 and GDI under the seam. Handles pass through as they are; records are rebuilt field by
// field; the game's window procedure is reached through a trampoline with the system's calling
// convention.
#include "platform/win32/win32_os.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "platform/data_path.h"
#include "platform/win32/win32_parts.h"
// The seam's headers first: the system's macros would otherwise rewrite their constants.
// clang-format off
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <mmsystem.h>
// clang-format on

namespace {

constexpr int SCREEN_W = plat::SCREEN_WIDTH;
constexpr int SCREEN_H = plat::SCREEN_HEIGHT;
constexpr int MAX_SCALE = 8;

plat::WNDPROC game_proc = nullptr;

LRESULT CALLBACK Trampoline(HWND window, UINT message, WPARAM wp, LPARAM lp) {
  if (plat::win32::Host_Key_Message(message, wp, lp)) return 0;  // the host's own keys
  if (!game_proc) return DefWindowProcA(window, message, wp, lp);
  return game_proc(reinterpret_cast<plat::HWND>(window), message, wp, lp);
}

template <typename To, typename From>
To As(From handle) {
  return reinterpret_cast<To>(handle);
}

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

class Win32Os final : public plat::Os {
 public:
  explicit Win32Os(const plat::win32::Win32Options& options) : options_(options) {
    timeBeginPeriod(1);  // sleeps of a millisecond for the frame pacer
    plat::win32::Start_Host(options);
  }
  ~Win32Os() override {
    timeEndPeriod(1);
    game_proc = nullptr;
  }

  std::uint16_t RegisterClassA(const plat::WNDCLASSA* wc) override {
    if (!wc) return 0;
    game_proc = wc->lpfnWndProc;
    ::WNDCLASSA real{};
    real.style = wc->style;
    real.lpfnWndProc = Trampoline;
    real.cbClsExtra = wc->cbClsExtra;
    real.cbWndExtra = wc->cbWndExtra;
    real.hInstance = Module();
    real.hIcon = As<HICON>(wc->hIcon);
    real.hCursor = As<HCURSOR>(wc->hCursor);
    real.hbrBackground = As<HBRUSH>(wc->hbrBackground);
    real.lpszMenuName = wc->lpszMenuName;
    real.lpszClassName = wc->lpszClassName;
    return ::RegisterClassA(&real);
  }

  plat::HWND CreateWindowExA(std::uint32_t ex_style, const char* class_name, const char* title,
                             std::uint32_t style, int x, int y, int w, int h, plat::HWND parent,
                             void* menu, plat::HINSTANCE, void* param) override {
    if (options_.window) {
      const plat::win32::WindowPlace place = plat::win32::Framed_Window(ex_style, options_.scale);
      style = place.style, x = place.x, y = place.y, w = place.w, h = place.h;
    }
    HWND window = ::CreateWindowExA(ex_style, class_name, title, style, x, y, w, h,
                                    As<HWND>(parent), As<HMENU>(menu), Module(), param);
    if (window) SetForegroundWindow(window);
    return As<plat::HWND>(window);
  }

  bool PeekMessageA(plat::MSG* msg, plat::HWND window, std::uint32_t first, std::uint32_t last,
                    std::uint32_t remove) override {
    if (!msg) return false;
    for (;;) {
      if (!::PeekMessageA(&last_, As<HWND>(window), first, last, remove)) return false;
      if (!(remove & PM_REMOVE) || !Backend_Handles(last_.message)) break;
      ::TranslateMessage(&last_);
      ::DispatchMessageA(&last_);
    }
    *msg = plat::MSG{As<plat::HWND>(last_.hwnd), last_.message, last_.wParam, last_.lParam};
    return true;
  }

  bool TranslateMessage(const plat::MSG* msg) override {
    if (!msg) return false;
    ::MSG real = Real_Message(*msg);
    return ::TranslateMessage(&real);
  }

  plat::LRESULT DispatchMessageA(const plat::MSG* msg) override {
    if (!msg) return 0;
    ::MSG real = Real_Message(*msg);
    return ::DispatchMessageA(&real);
  }

  bool PostMessageA(plat::HWND window, std::uint32_t message, plat::WPARAM wp,
                    plat::LPARAM lp) override {
    return ::PostMessageA(As<HWND>(window), message, wp, lp);
  }

  void PostQuitMessage(int exit_code) override { ::PostQuitMessage(exit_code); }

  plat::LRESULT DefWindowProcA(plat::HWND window, std::uint32_t message, plat::WPARAM wp,
                               plat::LPARAM lp) override {
    return ::DefWindowProcA(As<HWND>(window), message, wp, lp);
  }

  plat::HDC BeginPaint(plat::HWND window, plat::PAINTSTRUCT* ps) override {
    if (!ps) return nullptr;
    PAINTSTRUCT real{};
    HDC dc = ::BeginPaint(As<HWND>(window), &real);
    if (!dc) return nullptr;
    paints_[dc] = real;
    ps->hdc = As<plat::HDC>(dc);
    ps->rcPaint =
        plat::RECT{real.rcPaint.left, real.rcPaint.top, real.rcPaint.right, real.rcPaint.bottom};
    return ps->hdc;
  }

  bool EndPaint(plat::HWND window, const plat::PAINTSTRUCT* ps) override {
    if (!ps) return false;
    auto it = paints_.find(As<HDC>(ps->hdc));
    if (it == paints_.end()) return false;
    PAINTSTRUCT real = it->second;
    paints_.erase(it);
    return ::EndPaint(As<HWND>(window), &real);
  }

  std::int16_t GetAsyncKeyState(int virtual_key) override {
    // A pad's Back held for a second is Escape too.
    if (virtual_key == VK_ESCAPE && plat::win32::Steer_Escape())
      return static_cast<std::int16_t>(0x8000);
    return ::GetAsyncKeyState(virtual_key);
  }
  int ShowCursor(bool show) override { return ::ShowCursor(show); }
  plat::HICON LoadIconA(plat::HINSTANCE instance, std::uintptr_t id) override {
    return As<plat::HICON>(::LoadIconA(instance ? Module() : nullptr, MAKEINTRESOURCEA(id)));
  }
  plat::HCURSOR LoadCursorA(plat::HINSTANCE instance, std::uintptr_t id) override {
    return As<plat::HCURSOR>(::LoadCursorA(instance ? Module() : nullptr, MAKEINTRESOURCEA(id)));
  }
  plat::HGDIOBJ GetStockObject(int which) override {
    return As<plat::HGDIOBJ>(::GetStockObject(which));
  }

  std::uint32_t GetTickCount() override { return ::GetTickCount(); }
  void OutputDebugStringA(const char* text) override {
    if (text) ::OutputDebugStringA(text);
  }

  plat::HGLOBAL GlobalAlloc(std::uint32_t flags, std::size_t bytes) override {
    return ::GlobalAlloc(flags, bytes);
  }
  plat::HGLOBAL GlobalFree(plat::HGLOBAL block) override { return ::GlobalFree(block); }

  plat::HGDIOBJ LoadImageA(plat::HINSTANCE, const char* name, std::uint32_t type, int cx, int cy,
                           std::uint32_t flags) override {
    if (!name) return nullptr;
    // Files the game names plainly come from the data folder the player chose.
    std::string path = plat::Data_Path(name);
    return As<plat::HGDIOBJ>(::LoadImageA(nullptr, path.c_str(), type, cx, cy, flags));
  }

  int GetObjectA(plat::HGDIOBJ object, int size, void* out) override {
    if (size != sizeof(plat::BITMAP) || !out) return ::GetObjectA(As<HGDIOBJ>(object), size, out);
    ::BITMAP real{};
    if (!::GetObjectA(As<HGDIOBJ>(object), sizeof(real), &real)) return 0;
    *static_cast<plat::BITMAP*>(out) =
        plat::BITMAP{real.bmType,   real.bmWidth,     real.bmHeight, real.bmWidthBytes,
                     real.bmPlanes, real.bmBitsPixel, real.bmBits};
    return sizeof(plat::BITMAP);
  }

  plat::HDC CreateCompatibleDC(plat::HDC reference) override {
    return As<plat::HDC>(::CreateCompatibleDC(As<HDC>(reference)));
  }
  plat::HGDIOBJ SelectObject(plat::HDC dc, plat::HGDIOBJ object) override {
    return As<plat::HGDIOBJ>(::SelectObject(As<HDC>(dc), As<HGDIOBJ>(object)));
  }
  bool BitBlt(plat::HDC dst, int x, int y, int w, int h, plat::HDC src, int sx, int sy,
              std::uint32_t rop) override {
    return ::BitBlt(As<HDC>(dst), x, y, w, h, As<HDC>(src), sx, sy, rop);
  }
  bool DeleteDC(plat::HDC dc) override { return ::DeleteDC(As<HDC>(dc)); }
  bool DeleteObject(plat::HGDIOBJ object) override { return ::DeleteObject(As<HGDIOBJ>(object)); }
  plat::COLORREF SetTextColor(plat::HDC dc, plat::COLORREF colour) override {
    return ::SetTextColor(As<HDC>(dc), colour);
  }
  int SetBkMode(plat::HDC dc, int mode) override { return ::SetBkMode(As<HDC>(dc), mode); }
  bool TextOutA(plat::HDC dc, int x, int y, const char* text, int length) override {
    return ::TextOutA(As<HDC>(dc), x, y, text, length);
  }

  plat::HRESULT DirectDrawCreate(const plat::GUID*, plat::IDirectDraw** out, void* outer) override {
    if (out) *out = nullptr;
    if (!out || outer) return E_INVALIDARG;
    return plat::win32::Create_DirectDraw(options_, out);
  }

  plat::HRESULT DirectSoundCreate(const plat::GUID*, plat::IDirectSound** out,
                                  void* outer) override {
    if (out) *out = nullptr;
    if (!out || outer) return E_INVALIDARG;
    if (!options_.host.sound) return static_cast<plat::HRESULT>(0x88780078u);  // no driver
    return plat::win32::Create_DirectSound(options_.host.volume, out);
  }

  plat::HRESULT DirectInputCreateA(plat::HINSTANCE, std::uint32_t version, plat::IDirectInput** out,
                                   void* outer) override {
    if (out) *out = nullptr;
    if (!out || outer) return E_INVALIDARG;
    return plat::win32::Create_DirectInput(version, out);
  }

 private:
  // The game reads the keyboard and mouse through DirectInput and takes one message a frame:
  // the system's input, paint and timer messages are handled here at once, so that a quit is
  // seen on the same frame as with the other backends, whose queues hold only what is posted.
  static bool Backend_Handles(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) || message == WM_PAINT ||
           message == WM_TIMER || message == WM_MOUSELEAVE || message == WM_NCMOUSELEAVE ||
           message == WM_INPUT;
  }

  // The message as it was peeked when it is that one (its time and cursor position kept).
  ::MSG Real_Message(const plat::MSG& msg) const {
    if (As<HWND>(msg.hwnd) == last_.hwnd && msg.message == last_.message &&
        msg.wParam == last_.wParam && msg.lParam == last_.lParam)
      return last_;
    ::MSG real{};
    real.hwnd = As<HWND>(msg.hwnd);
    real.message = msg.message;
    real.wParam = msg.wParam;
    real.lParam = msg.lParam;
    return real;
  }

  plat::win32::Win32Options options_;
  ::MSG last_{};
  std::map<HDC, PAINTSTRUCT> paints_;
};

}  // namespace

std::unique_ptr<plat::Os> plat::win32::Make_Win32_Os(const Win32Options& options) {
  return std::make_unique<Win32Os>(options);
}

plat::win32::WindowPlace plat::win32::Framed_Window(std::uint32_t ex_style, int scale) {
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE;
  ::RECT work{0, 0, SCREEN_W, SCREEN_H};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  ::RECT frame{};
  for (int s = scale ? scale : MAX_SCALE; s >= 1; --s) {
    frame = ::RECT{0, 0, SCREEN_W * s, SCREEN_H * s};
    AdjustWindowRectEx(&frame, style, FALSE, ex_style);
    if (scale || (frame.right - frame.left <= work.right - work.left &&
                  frame.bottom - frame.top <= work.bottom - work.top))
      break;
  }
  const LONG w = frame.right - frame.left, h = frame.bottom - frame.top;
  const LONG x = work.left + std::max(0L, (work.right - work.left - w) / 2);
  const LONG y = work.top + std::max(0L, (work.bottom - work.top - h) / 2);
  return {style, static_cast<int>(x), static_cast<int>(y), static_cast<int>(w),
          static_cast<int>(h)};
}

void plat::win32::Use_Parent_Console() {
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  if (err && err != INVALID_HANDLE_VALUE) return;  // redirected: already goes somewhere
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  std::freopen("CONOUT$", "w", stdout);
  std::freopen("CONOUT$", "w", stderr);
}

std::string plat::win32::Program_Dir() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof(path));
  if (n == 0 || n >= sizeof(path)) return ".";
  std::string exe(path, n);
  std::size_t slash = exe.find_last_of("\\/");
  return slash == std::string::npos ? "." : exe.substr(0, slash);
}
