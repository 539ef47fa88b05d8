#include "platform/script/script_os.h"

#include <cstring>

namespace plat::script {

namespace {

constexpr std::int16_t KEY_DOWN = static_cast<std::int16_t>(0x8000);
constexpr HRESULT DI_NOEFFECT = 1;  // S_FALSE: already in the asked-for state

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
    if (result == DI_OK || result == DI_NOEFFECT) acquired_ = true;
    return result;
  }
  HRESULT Unacquire() override {
    HRESULT result = inner_->Unacquire();
    if (result == DI_OK || result == DI_NOEFFECT) acquired_ = false;
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
  live.tick = inner().GetTickCount();
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
  if (!pinned_) return inner().GetAsyncKeyState(virtual_key);
  return virtual_key == VK_ESCAPE && frame_.esc ? KEY_DOWN : 0;
}

std::uint32_t ScriptOs::GetTickCount() { return pinned_ ? frame_.tick : inner().GetTickCount(); }

HRESULT ScriptOs::DirectInputCreateA(HINSTANCE instance, std::uint32_t version, IDirectInput** out,
                                     void* outer) {
  HRESULT result = inner().DirectInputCreateA(instance, version, out, outer);
  if (result == DI_OK && out && *out) *out = new ScriptInput(this, *out);
  return result;
}

}  // namespace plat::script
