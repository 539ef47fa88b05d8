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

// Every call of the seam, once: X(result, name, (parameters), (arguments), value when failed).
// The last column is what the call answers when a test makes it fail (`code` is the failure's
// result code), as the system answers: a null handle, false, 0, or the code itself.
// clang-format off
#define ZORVEX_OS_WINDOWS_CALLS(X)                                                                 \
  /* Windowing. */                                                                                 \
  X(std::uint16_t, RegisterClassA, (const WNDCLASSA* wc), (wc), 0)                                 \
  X(HWND, CreateWindowExA,                                                                         \
    (std::uint32_t ex_style, const char* class_name, const char* title, std::uint32_t style,       \
     int x, int y, int w, int h, HWND parent, void* menu, HINSTANCE instance, void* param),        \
    (ex_style, class_name, title, style, x, y, w, h, parent, menu, instance, param), nullptr)      \
  X(bool, PeekMessageA,                                                                            \
    (MSG* msg, HWND window, std::uint32_t first, std::uint32_t last, std::uint32_t remove),        \
    (msg, window, first, last, remove), false)                                                     \
  X(bool, TranslateMessage, (const MSG* msg), (msg), false)                                        \
  X(LRESULT, DispatchMessageA, (const MSG* msg), (msg), 0)                                         \
  X(bool, PostMessageA, (HWND window, std::uint32_t message, WPARAM wp, LPARAM lp),                \
    (window, message, wp, lp), false)                                                              \
  X(void, PostQuitMessage, (int exit_code), (exit_code), void())                                   \
  X(LRESULT, DefWindowProcA, (HWND window, std::uint32_t message, WPARAM wp, LPARAM lp),           \
    (window, message, wp, lp), 0)                                                                  \
  X(HDC, BeginPaint, (HWND window, PAINTSTRUCT* ps), (window, ps), nullptr)                        \
  X(bool, EndPaint, (HWND window, const PAINTSTRUCT* ps), (window, ps), false)                     \
  X(std::int16_t, GetAsyncKeyState, (int virtual_key), (virtual_key), 0)                           \
  X(int, ShowCursor, (bool show), (show), 0)                                                       \
  X(HICON, LoadIconA, (HINSTANCE instance, std::uintptr_t id), (instance, id), nullptr)            \
  X(HCURSOR, LoadCursorA, (HINSTANCE instance, std::uintptr_t id), (instance, id), nullptr)        \
  X(HGDIOBJ, GetStockObject, (int which), (which), nullptr)                                        \
  /* Kernel. */                                                                                    \
  X(std::uint32_t, GetTickCount, (), (), static_cast<std::uint32_t>(code))                         \
  X(void, OutputDebugStringA, (const char* text), (text), void())                                  \
  /* GDI: bitmaps from files, device contexts, text. */                                            \
  X(HGDIOBJ, LoadImageA,                                                                           \
    (HINSTANCE instance, const char* name, std::uint32_t type, int cx, int cy,                     \
     std::uint32_t flags),                                                                         \
    (instance, name, type, cx, cy, flags), nullptr)                                                \
  X(int, GetObjectA, (HGDIOBJ object, int size, void* out), (object, size, out), 0)                \
  X(HDC, CreateCompatibleDC, (HDC reference), (reference), nullptr)                                \
  X(HGDIOBJ, SelectObject, (HDC dc, HGDIOBJ object), (dc, object), nullptr)                        \
  X(bool, BitBlt,                                                                                  \
    (HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, std::uint32_t rop),             \
    (dst, x, y, w, h, src, sx, sy, rop), false)                                                    \
  X(bool, DeleteDC, (HDC dc), (dc), false)                                                         \
  X(bool, DeleteObject, (HGDIOBJ object), (object), false)                                         \
  X(COLORREF, SetTextColor, (HDC dc, COLORREF colour), (dc, colour), COLORREF{0xFFFFFFFFu})        \
  X(int, SetBkMode, (HDC dc, int mode), (dc, mode), 0)                                             \
  X(bool, TextOutA, (HDC dc, int x, int y, const char* text, int length),                          \
    (dc, x, y, text, length), false)
// Memory blocks, as the WAV reader hands them out.
#define ZORVEX_OS_MEMORY_CALLS(X)                                                                  \
  X(HGLOBAL, GlobalAlloc, (std::uint32_t flags, std::size_t bytes), (flags, bytes), nullptr)       \
  X(HGLOBAL, GlobalFree, (HGLOBAL block), (block), block)
// The DirectX entry points: each hands out an object, which a layer may wrap.
#define ZORVEX_OS_DIRECTX_CALLS(X)                                                                 \
  X(HRESULT, DirectDrawCreate, (const GUID* device, IDirectDraw** out, void* outer),               \
    (device, out, outer), code)                                                                    \
  X(HRESULT, DirectSoundCreate, (const GUID* device, IDirectSound** out, void* outer),             \
    (device, out, outer), code)                                                                    \
  X(HRESULT, DirectInputCreateA,                                                                   \
    (HINSTANCE instance, std::uint32_t version, IDirectInput** out, void* outer),                  \
    (instance, version, out, outer), code)
#define ZORVEX_OS_CALLS(X) \
  ZORVEX_OS_WINDOWS_CALLS(X) ZORVEX_OS_MEMORY_CALLS(X) ZORVEX_OS_DIRECTX_CALLS(X)
// clang-format on

class Os {
 public:
  virtual ~Os() = default;
#define ZORVEX_OS_VIRTUAL(result, name, params, args, failed) virtual result name params = 0;
  ZORVEX_OS_CALLS(ZORVEX_OS_VIRTUAL)
#undef ZORVEX_OS_VIRTUAL
};

// Declares each call of the seam as an override, for a backend that implements them all.
#define ZORVEX_OS_OVERRIDE(result, name, params, args, failed) result name params override;

// A layer over another backend: every call goes to the one beneath unless the layer overrides
// it, so a layer writes only what it changes.
class OsLayer : public Os {
 public:
  explicit OsLayer(Os& inner) : inner_(inner) {}
#define ZORVEX_OS_PASS(result, name, params, args, failed) \
  result name params override { return inner_.name args; }
  ZORVEX_OS_CALLS(ZORVEX_OS_PASS)
#undef ZORVEX_OS_PASS

 protected:
  Os& inner() const { return inner_; }

 private:
  Os& inner_;
};

// The backend in use. Set once before WinMain runs; tests swap in their double.
Os& os();
void Use_Os(Os* backend);

#define ZORVEX_OS_FORWARD(result, name, params, args, failed) \
  inline result name params { return os().name args; }
ZORVEX_OS_CALLS(ZORVEX_OS_FORWARD)
#undef ZORVEX_OS_FORWARD

}  // namespace plat
