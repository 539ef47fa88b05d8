// Replays, recordings and the autopilot over the Windows backend: while a frame is scripted the
// clock, GetAsyncKeyState and both devices answer from it; SampleInput reads the real ones.
#include <memory>

#include "platform/win32/win32_parts.h"

namespace {

using namespace plat;

struct Script {
  bool on = false;
  FrameInput frame;
  IDirectInputDevice* keyboard = nullptr;  // the real devices, for SampleInput
  IDirectInputDevice* mouse = nullptr;
};

class ScriptedDevice final : public IDirectInputDevice {
 public:
  ScriptedDevice(Script* script, IDirectInputDevice* real, bool keyboard)
      : script_(script), real_(real), keyboard_(keyboard) {
    (keyboard ? script->keyboard : script->mouse) = real;
  }
  HRESULT SetCooperativeLevel(HWND window, std::uint32_t flags) override {
    return real_->SetCooperativeLevel(window, flags);
  }
  HRESULT SetDataFormat(const DIDATAFORMAT* format) override {
    return real_->SetDataFormat(format);
  }
  HRESULT Acquire() override { return real_->Acquire(); }
  HRESULT Unacquire() override { return real_->Unacquire(); }
  HRESULT GetDeviceState(std::uint32_t size, void* out) override {
    if (!script_->on) return real_->GetDeviceState(size, out);
    // The live device is left alone: what it gathers is SampleInput's.
    const FrameInput& f = script_->frame;
    if (keyboard_) {
      auto* keys = static_cast<std::uint8_t*>(out);
      for (std::uint32_t k = 0; k < size; ++k) keys[k] = 0;
      if (size > DIK_RETURN) keys[DIK_RETURN] = f.enter ? 0x80 : 0;
    } else if (size == sizeof(DIMOUSESTATE)) {
      auto* m = static_cast<DIMOUSESTATE*>(out);
      *m = DIMOUSESTATE{};
      m->lX = f.dx;
      m->rgbButtons[0] = f.lmb ? 0x80 : 0;
    }
    return DI_OK;
  }
  std::uint32_t Release() override {
    (keyboard_ ? script_->keyboard : script_->mouse) = nullptr;
    std::uint32_t left = real_->Release();
    delete this;
    return left;
  }

 private:
  ~ScriptedDevice() = default;
  Script* script_;
  IDirectInputDevice* real_;
  bool keyboard_;
};

class ScriptedInput final : public IDirectInput {
 public:
  ScriptedInput(Script* script, IDirectInput* real) : script_(script), real_(real) {}
  HRESULT CreateDevice(const GUID& which, IDirectInputDevice** out, void* outer) override {
    HRESULT result = real_->CreateDevice(which, out, outer);
    if (result == DI_OK && out && *out)
      *out = new ScriptedDevice(script_, *out, which == GUID_SysKeyboard);
    return result;
  }
  std::uint32_t Release() override {
    std::uint32_t left = real_->Release();
    delete this;
    return left;
  }

 private:
  ~ScriptedInput() = default;
  Script* script_;
  IDirectInput* real_;
};

class ScriptedOs final : public Os {
 public:
  explicit ScriptedOs(std::unique_ptr<Os> real) : real_(std::move(real)) {}

  std::uint16_t RegisterClassA(const WNDCLASSA* wc) override { return real_->RegisterClassA(wc); }
  HWND CreateWindowExA(std::uint32_t ex_style, const char* class_name, const char* title,
                       std::uint32_t style, int x, int y, int w, int h, HWND parent, void* menu,
                       HINSTANCE instance, void* param) override {
    return real_->CreateWindowExA(ex_style, class_name, title, style, x, y, w, h, parent, menu,
                                  instance, param);
  }
  bool PeekMessageA(MSG* msg, HWND window, std::uint32_t first, std::uint32_t last,
                    std::uint32_t remove) override {
    return real_->PeekMessageA(msg, window, first, last, remove);
  }
  bool TranslateMessage(const MSG* msg) override { return real_->TranslateMessage(msg); }
  LRESULT DispatchMessageA(const MSG* msg) override { return real_->DispatchMessageA(msg); }
  bool PostMessageA(HWND window, std::uint32_t message, WPARAM wp, LPARAM lp) override {
    return real_->PostMessageA(window, message, wp, lp);
  }
  void PostQuitMessage(int exit_code) override { real_->PostQuitMessage(exit_code); }
  LRESULT DefWindowProcA(HWND window, std::uint32_t message, WPARAM wp, LPARAM lp) override {
    return real_->DefWindowProcA(window, message, wp, lp);
  }
  HDC BeginPaint(HWND window, PAINTSTRUCT* ps) override { return real_->BeginPaint(window, ps); }
  bool EndPaint(HWND window, const PAINTSTRUCT* ps) override { return real_->EndPaint(window, ps); }
  std::int16_t GetAsyncKeyState(int virtual_key) override {
    if (!script_.on) return real_->GetAsyncKeyState(virtual_key);
    return virtual_key == VK_ESCAPE && script_.frame.esc ? static_cast<std::int16_t>(0x8000) : 0;
  }
  int ShowCursor(bool show) override { return real_->ShowCursor(show); }
  HICON LoadIconA(HINSTANCE instance, std::uintptr_t id) override {
    return real_->LoadIconA(instance, id);
  }
  HCURSOR LoadCursorA(HINSTANCE instance, std::uintptr_t id) override {
    return real_->LoadCursorA(instance, id);
  }
  HGDIOBJ GetStockObject(int which) override { return real_->GetStockObject(which); }
  std::uint32_t GetTickCount() override {
    return script_.on ? script_.frame.tick : real_->GetTickCount();
  }
  void OutputDebugStringA(const char* text) override { real_->OutputDebugStringA(text); }
  HGDIOBJ LoadImageA(HINSTANCE instance, const char* name, std::uint32_t type, int cx, int cy,
                     std::uint32_t flags) override {
    return real_->LoadImageA(instance, name, type, cx, cy, flags);
  }
  int GetObjectA(HGDIOBJ object, int size, void* out) override {
    return real_->GetObjectA(object, size, out);
  }
  HDC CreateCompatibleDC(HDC reference) override { return real_->CreateCompatibleDC(reference); }
  HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) override { return real_->SelectObject(dc, object); }
  bool BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy,
              std::uint32_t rop) override {
    return real_->BitBlt(dst, x, y, w, h, src, sx, sy, rop);
  }
  bool DeleteDC(HDC dc) override { return real_->DeleteDC(dc); }
  bool DeleteObject(HGDIOBJ object) override { return real_->DeleteObject(object); }
  COLORREF SetTextColor(HDC dc, COLORREF colour) override {
    return real_->SetTextColor(dc, colour);
  }
  int SetBkMode(HDC dc, int mode) override { return real_->SetBkMode(dc, mode); }
  bool TextOutA(HDC dc, int x, int y, const char* text, int length) override {
    return real_->TextOutA(dc, x, y, text, length);
  }
  HRESULT DirectDrawCreate(const GUID* device, IDirectDraw** out, void* outer) override {
    return real_->DirectDrawCreate(device, out, outer);
  }
  HRESULT DirectSoundCreate(const GUID* device, IDirectSound** out, void* outer) override {
    return real_->DirectSoundCreate(device, out, outer);
  }
  HRESULT DirectInputCreateA(HINSTANCE instance, std::uint32_t version, IDirectInput** out,
                             void* outer) override {
    HRESULT result = real_->DirectInputCreateA(instance, version, out, outer);
    if (result == DI_OK && out && *out) *out = new ScriptedInput(&script_, *out);
    return result;
  }

  // The live clock and devices: the mouse motion since the last look, and whether the button,
  // Enter and Escape were down (or tapped) since then.
  void SampleInput(FrameInput* out) override {
    if (!out) return;
    *out = FrameInput{};
    out->tick = real_->GetTickCount();
    std::uint8_t keys[256] = {};
    DIMOUSESTATE mouse{};
    if (script_.keyboard && script_.keyboard->GetDeviceState(sizeof(keys), keys) == DI_OK) {
      out->enter = keys[DIK_RETURN] & 0x80;
      out->esc = keys[DIK_ESCAPE] & 0x80;
    }
    if (script_.mouse && script_.mouse->GetDeviceState(sizeof(mouse), &mouse) == DI_OK) {
      out->dx = mouse.lX;
      out->lmb = mouse.rgbButtons[0] & 0x80;
    }
    if (real_->GetAsyncKeyState(VK_ESCAPE) & 0x8000) out->esc = true;
  }

  void ScriptInput(const FrameInput* frame) override {
    script_.on = frame != nullptr;
    if (frame) script_.frame = *frame;
  }

 private:
  std::unique_ptr<Os> real_;
  Script script_;
};

}  // namespace

std::unique_ptr<plat::Os> plat::win32::Wrap_For_Scripts(std::unique_ptr<Os> backend) {
  return std::make_unique<ScriptedOs>(std::move(backend));
}
