#include "platform/script/script_os.h"

#include <cstring>

namespace plat::script {

namespace {

constexpr std::int16_t kKeyDown = static_cast<std::int16_t>(0x8000);
constexpr HRESULT kDiNoEffect = 1;  // S_FALSE: already in the asked-for state

// A keyboard or mouse of the backend beneath. While a frame is pinned its state comes from the
// frame, with the results the device would give (not acquired, wrong size); otherwise every
// call goes straight through.
class ScriptDevice final : public IDirectInputDevice {
 public:
  ScriptDevice(ScriptOs* os, IDirectInputDevice* inner, bool keyboard)
      : os_(os), inner_(inner), keyboard_(keyboard) {
    os_->Device_Made(inner_, keyboard_);
  }

  HRESULT SetCooperativeLevel(HWND window, std::uint32_t flags) override {
    return inner_->SetCooperativeLevel(window, flags);
  }
  HRESULT SetDataFormat(const DIDATAFORMAT* format) override {
    return inner_->SetDataFormat(format);
  }
  HRESULT Acquire() override {
    HRESULT result = inner_->Acquire();
    if (result == DI_OK || result == kDiNoEffect) acquired_ = true;
    return result;
  }
  HRESULT Unacquire() override {
    HRESULT result = inner_->Unacquire();
    if (result == DI_OK || result == kDiNoEffect) acquired_ = false;
    return result;
  }
  HRESULT GetDeviceState(std::uint32_t size, void* out) override {
    const FrameInput* frame = os_->Pinned_Frame();
    if (!frame) return inner_->GetDeviceState(size, out);
    if (!acquired_) return DIERR_NOTACQUIRED;
    if (!out || size != (keyboard_ ? c_dfDIKeyboard : c_dfDIMouse).dwDataSize)
      return DIERR_INVALIDPARAM;
    if (keyboard_) {
      auto* keys = static_cast<std::uint8_t*>(out);
      std::memset(keys, 0, size);
      if (size > DIK_RETURN) keys[DIK_RETURN] = frame->enter ? 0x80 : 0;
    } else {
      auto* mouse = static_cast<DIMOUSESTATE*>(out);
      *mouse = DIMOUSESTATE{};
      mouse->lX = frame->dx;
      mouse->rgbButtons[0] = frame->lmb ? 0x80 : 0;
    }
    return DI_OK;
  }
  std::uint32_t Release() override {
    os_->Device_Gone(inner_);
    std::uint32_t count = inner_->Release();
    delete this;
    return count;
  }

 private:
  ~ScriptDevice() = default;
  ScriptOs* os_;
  IDirectInputDevice* inner_;
  bool keyboard_;
  bool acquired_ = false;
};

class ScriptInput final : public IDirectInput {
 public:
  ScriptInput(ScriptOs* os, IDirectInput* inner) : os_(os), inner_(inner) {}

  HRESULT CreateDevice(const GUID& which, IDirectInputDevice** out, void* outer) override {
    HRESULT result = inner_->CreateDevice(which, out, outer);
    if (result == DI_OK && out && *out)
      *out = new ScriptDevice(os_, *out, which == GUID_SysKeyboard);
    return result;
  }
  std::uint32_t Release() override {
    std::uint32_t count = inner_->Release();
    delete this;
    return count;
  }

 private:
  ~ScriptInput() = default;
  ScriptOs* os_;
  IDirectInput* inner_;
};

}  // namespace

void ScriptOs::Pin(const FrameInput& frame) {
  frame_ = frame;
  pinned_ = true;
}

FrameInput ScriptOs::Sample() {
  FrameInput live;
  live.tick = inner_.GetTickCount();
  std::uint8_t keys[256];
  if (keyboard_ && keyboard_->GetDeviceState(sizeof keys, keys) == DI_OK) {
    live.enter = keys[DIK_RETURN] & 0x80;
    live.esc = keys[DIK_ESCAPE] & 0x80;
  }
  DIMOUSESTATE mouse{};
  if (mouse_ && mouse_->GetDeviceState(sizeof mouse, &mouse) == DI_OK) {
    live.dx = mouse.lX;
    live.lmb = mouse.rgbButtons[0] & 0x80;
  }
  return live;
}

void ScriptOs::Device_Made(IDirectInputDevice* inner, bool keyboard) {
  (keyboard ? keyboard_ : mouse_) = inner;
}

void ScriptOs::Device_Gone(IDirectInputDevice* inner) {
  if (keyboard_ == inner) keyboard_ = nullptr;
  if (mouse_ == inner) mouse_ = nullptr;
}

std::int16_t ScriptOs::GetAsyncKeyState(int virtual_key) {
  if (!pinned_) return inner_.GetAsyncKeyState(virtual_key);
  return virtual_key == VK_ESCAPE && frame_.esc ? kKeyDown : 0;
}

std::uint32_t ScriptOs::GetTickCount() { return pinned_ ? frame_.tick : inner_.GetTickCount(); }

HRESULT ScriptOs::DirectInputCreateA(HINSTANCE instance, std::uint32_t version, IDirectInput** out,
                                     void* outer) {
  HRESULT result = inner_.DirectInputCreateA(instance, version, out, outer);
  if (result == DI_OK && out && *out) *out = new ScriptInput(this, *out);
  return result;
}

// Everything else is the backend's.

std::uint16_t ScriptOs::RegisterClassA(const WNDCLASSA* wc) { return inner_.RegisterClassA(wc); }
HWND ScriptOs::CreateWindowExA(std::uint32_t ex_style, const char* class_name, const char* title,
                               std::uint32_t style, int x, int y, int w, int h, HWND parent,
                               void* menu, HINSTANCE instance, void* param) {
  return inner_.CreateWindowExA(ex_style, class_name, title, style, x, y, w, h, parent, menu,
                                instance, param);
}
bool ScriptOs::PeekMessageA(MSG* msg, HWND window, std::uint32_t first, std::uint32_t last,
                            std::uint32_t remove) {
  return inner_.PeekMessageA(msg, window, first, last, remove);
}
bool ScriptOs::TranslateMessage(const MSG* msg) { return inner_.TranslateMessage(msg); }
LRESULT ScriptOs::DispatchMessageA(const MSG* msg) { return inner_.DispatchMessageA(msg); }
bool ScriptOs::PostMessageA(HWND window, std::uint32_t message, WPARAM wp, LPARAM lp) {
  return inner_.PostMessageA(window, message, wp, lp);
}
void ScriptOs::PostQuitMessage(int exit_code) { inner_.PostQuitMessage(exit_code); }
LRESULT ScriptOs::DefWindowProcA(HWND window, std::uint32_t message, WPARAM wp, LPARAM lp) {
  return inner_.DefWindowProcA(window, message, wp, lp);
}
HDC ScriptOs::BeginPaint(HWND window, PAINTSTRUCT* ps) { return inner_.BeginPaint(window, ps); }
bool ScriptOs::EndPaint(HWND window, const PAINTSTRUCT* ps) { return inner_.EndPaint(window, ps); }
int ScriptOs::ShowCursor(bool show) { return inner_.ShowCursor(show); }
HICON ScriptOs::LoadIconA(HINSTANCE instance, std::uintptr_t id) {
  return inner_.LoadIconA(instance, id);
}
HCURSOR ScriptOs::LoadCursorA(HINSTANCE instance, std::uintptr_t id) {
  return inner_.LoadCursorA(instance, id);
}
HGDIOBJ ScriptOs::GetStockObject(int which) { return inner_.GetStockObject(which); }
void ScriptOs::OutputDebugStringA(const char* text) { inner_.OutputDebugStringA(text); }
HGDIOBJ ScriptOs::LoadImageA(HINSTANCE instance, const char* name, std::uint32_t type, int cx,
                             int cy, std::uint32_t flags) {
  return inner_.LoadImageA(instance, name, type, cx, cy, flags);
}
int ScriptOs::GetObjectA(HGDIOBJ object, int size, void* out) {
  return inner_.GetObjectA(object, size, out);
}
HDC ScriptOs::CreateCompatibleDC(HDC reference) { return inner_.CreateCompatibleDC(reference); }
HGDIOBJ ScriptOs::SelectObject(HDC dc, HGDIOBJ object) { return inner_.SelectObject(dc, object); }
bool ScriptOs::BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy,
                      std::uint32_t rop) {
  return inner_.BitBlt(dst, x, y, w, h, src, sx, sy, rop);
}
bool ScriptOs::DeleteDC(HDC dc) { return inner_.DeleteDC(dc); }
bool ScriptOs::DeleteObject(HGDIOBJ object) { return inner_.DeleteObject(object); }
COLORREF ScriptOs::SetTextColor(HDC dc, COLORREF colour) { return inner_.SetTextColor(dc, colour); }
int ScriptOs::SetBkMode(HDC dc, int mode) { return inner_.SetBkMode(dc, mode); }
bool ScriptOs::TextOutA(HDC dc, int x, int y, const char* text, int length) {
  return inner_.TextOutA(dc, x, y, text, length);
}
HRESULT ScriptOs::DirectDrawCreate(const GUID* device, IDirectDraw** out, void* outer) {
  return inner_.DirectDrawCreate(device, out, outer);
}
HRESULT ScriptOs::DirectSoundCreate(const GUID* device, IDirectSound** out, void* outer) {
  return inner_.DirectSoundCreate(device, out, outer);
}

}  // namespace plat::script
