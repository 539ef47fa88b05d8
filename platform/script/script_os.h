// Scripted input as a layer over any backend. ScriptOs implements the seam by handing every call
// to the backend beneath, except the tick count, the keyboard and mouse devices and Escape's
// GetAsyncKeyState: while a frame is pinned those answer from it. Replays, recordings, the
// autopilot and traces pin one frame at a time, so a backend that implements only the
// Windows-shaped calls gets all of them.
#pragma once

#include "platform/os.h"

namespace plat::script {

class ScriptOs final : public Os {
 public:
  explicit ScriptOs(Os& inner) : inner_(inner) {}

  // From now on every clock read and device poll answers from `frame`, until Unpin().
  void Pin(const FrameInput& frame);
  void Unpin() { pinned_ = false; }
  bool Pinned() const { return pinned_; }
  // Reads the backend's live clock and the game's own keyboard and mouse once: the tick, the
  // mouse motion since the last read, the left button, Enter and Escape. Devices the game has
  // not made (or could not make) read as nothing pressed.
  FrameInput Sample();

  std::uint16_t RegisterClassA(const WNDCLASSA* wc) override;
  HWND CreateWindowExA(std::uint32_t ex_style, const char* class_name, const char* title,
                       std::uint32_t style, int x, int y, int w, int h, HWND parent, void* menu,
                       HINSTANCE instance, void* param) override;
  bool PeekMessageA(MSG* msg, HWND window, std::uint32_t first, std::uint32_t last,
                    std::uint32_t remove) override;
  bool TranslateMessage(const MSG* msg) override;
  LRESULT DispatchMessageA(const MSG* msg) override;
  bool PostMessageA(HWND window, std::uint32_t message, WPARAM wp, LPARAM lp) override;
  void PostQuitMessage(int exit_code) override;
  LRESULT DefWindowProcA(HWND window, std::uint32_t message, WPARAM wp, LPARAM lp) override;
  HDC BeginPaint(HWND window, PAINTSTRUCT* ps) override;
  bool EndPaint(HWND window, const PAINTSTRUCT* ps) override;
  std::int16_t GetAsyncKeyState(int virtual_key) override;
  int ShowCursor(bool show) override;
  HICON LoadIconA(HINSTANCE instance, std::uintptr_t id) override;
  HCURSOR LoadCursorA(HINSTANCE instance, std::uintptr_t id) override;
  HGDIOBJ GetStockObject(int which) override;
  std::uint32_t GetTickCount() override;
  void OutputDebugStringA(const char* text) override;
  HGDIOBJ LoadImageA(HINSTANCE instance, const char* name, std::uint32_t type, int cx, int cy,
                     std::uint32_t flags) override;
  int GetObjectA(HGDIOBJ object, int size, void* out) override;
  HDC CreateCompatibleDC(HDC reference) override;
  HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) override;
  bool BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy,
              std::uint32_t rop) override;
  bool DeleteDC(HDC dc) override;
  bool DeleteObject(HGDIOBJ object) override;
  COLORREF SetTextColor(HDC dc, COLORREF colour) override;
  int SetBkMode(HDC dc, int mode) override;
  bool TextOutA(HDC dc, int x, int y, const char* text, int length) override;
  HRESULT DirectDrawCreate(const GUID* device, IDirectDraw** out, void* outer) override;
  HRESULT DirectSoundCreate(const GUID* device, IDirectSound** out, void* outer) override;
  HRESULT DirectInputCreateA(HINSTANCE instance, std::uint32_t version, IDirectInput** out,
                             void* outer) override;

  // Used by the devices this layer hands out.
  const FrameInput* Pinned_Frame() const { return pinned_ ? &frame_ : nullptr; }
  void Device_Made(IDirectInputDevice* inner, bool keyboard);
  void Device_Gone(IDirectInputDevice* inner);

 private:
  Os& inner_;
  bool pinned_ = false;
  FrameInput frame_;
  IDirectInputDevice* keyboard_ = nullptr;  // the game's devices, as the backend made them
  IDirectInputDevice* mouse_ = nullptr;
};

}  // namespace plat::script
