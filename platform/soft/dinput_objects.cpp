// The soft DirectInput: the system keyboard and mouse, fed by the host's events.
#include <cstring>

#include "platform/soft/counted.h"
#include "platform/soft/soft_os_impl.h"

namespace plat::soft {

namespace {

constexpr HRESULT DI_NOEFFECT = 1;  // S_FALSE: already in the asked-for state
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT DIERR_ACQUIRED = static_cast<HRESULT>(0x800700AAu);
constexpr std::uint32_t DISCL_EXCLUSIVE = 0x1, DISCL_FOREGROUND = 0x4;

class SoftDevice final : public Counted<IDirectInputDevice> {
 public:
  SoftDevice(SoftOs* os, bool keyboard) : os_(os), keyboard_(keyboard) {}

  HRESULT SetCooperativeLevel(HWND window, std::uint32_t flags) override {
    const bool one_mode = !(flags & DISCL_EXCLUSIVE) != !(flags & DISCL_NONEXCLUSIVE);
    const bool one_scope = !(flags & DISCL_FOREGROUND) != !(flags & DISCL_BACKGROUND);
    if (!window || !one_mode || !one_scope) return DIERR_INVALIDPARAM;
    return DI_OK;
  }

  HRESULT SetDataFormat(const DIDATAFORMAT* format) override {
    if (acquired_) return DIERR_ACQUIRED;
    const DIDATAFORMAT& mine = keyboard_ ? c_dfDIKeyboard : c_dfDIMouse;
    if (!format || format->id != mine.id || format->dwDataSize != mine.dwDataSize)
      return DIERR_INVALIDPARAM;
    formatted_ = true;
    return DI_OK;
  }

  HRESULT Acquire() override {
    if (!formatted_) return DIERR_INVALIDPARAM;
    if (acquired_) return DI_NOEFFECT;
    acquired_ = true;
    return DI_OK;
  }

  HRESULT Unacquire() override {
    if (!acquired_) return DI_NOEFFECT;
    acquired_ = false;
    return DI_OK;
  }

  HRESULT GetDeviceState(std::uint32_t size, void* out) override {
    if (!acquired_) return DIERR_NOTACQUIRED;
    const DIDATAFORMAT& mine = keyboard_ ? c_dfDIKeyboard : c_dfDIMouse;
    if (!out || size != mine.dwDataSize) return DIERR_INVALIDPARAM;
    os_->Pump();
    if (keyboard_)
      Read_Keys(static_cast<std::uint8_t*>(out));
    else
      Read_Mouse(static_cast<DIMOUSESTATE*>(out));
    return DI_OK;
  }

 private:
  void Read_Keys(std::uint8_t* keys) {
    std::memset(keys, 0, 256);
    for (int k = 0; k < 256; ++k) keys[k] = os_->input().Key_Down(k, InputState::DEVICE) ? 0x80 : 0;
  }

  void Read_Mouse(DIMOUSESTATE* m) {
    *m = DIMOUSESTATE{};
    os_->input().Take_Motion(&m->lX, &m->lY, &m->lZ);
    for (int b = 0; b < InputState::BUTTON_COUNT; ++b)
      m->rgbButtons[b] = os_->input().Button_Down(b, InputState::DEVICE) ? 0x80 : 0;
  }

  SoftOs* os_;
  bool keyboard_;
  bool formatted_ = false;
  bool acquired_ = false;
};

class SoftDirectInput final : public Counted<IDirectInput> {
 public:
  explicit SoftDirectInput(SoftOs* os) : os_(os) {}

  HRESULT CreateDevice(const GUID& which, IDirectInputDevice** out, void* outer) override {
    if (out) *out = nullptr;
    if (!out || outer) return DIERR_INVALIDPARAM;
    if (which == GUID_SysKeyboard)
      *out = new SoftDevice(os_, true);
    else if (which == GUID_SysMouse)
      *out = new SoftDevice(os_, false);
    else
      return REGDB_E_CLASSNOTREG;
    return DI_OK;
  }

 private:
  SoftOs* os_;
};

}  // namespace

HRESULT SoftOs::DirectInputCreateA(HINSTANCE, std::uint32_t, IDirectInput** out, void* outer) {
  if (out) *out = nullptr;
  if (!out || outer) return DIERR_INVALIDPARAM;
  *out = new SoftDirectInput(this);
  return DI_OK;
}

}  // namespace plat::soft
