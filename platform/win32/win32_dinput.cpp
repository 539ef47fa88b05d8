// DirectInput under the seam: the real keyboard and mouse, read through their buffered data as
// well as their state, so a key or button pressed and released between two polls still reads
// as down in the next poll.
#include "platform/dinput.h"
#include "platform/win32/win32_parts.h"
// The seam's headers first: the system's macros would otherwise rewrite their constants.
// clang-format off
#define DIRECTINPUT_VERSION 0x0500
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <dinput.h>
// clang-format on
// The system names its interfaces through macros; the seam has classes of those names.
#undef IDirectInputDevice
#undef IDirectInput

namespace {

constexpr DWORD BUFFERED_EVENTS = 256;

class Device final : public plat::win32::Adapter<plat::IDirectInputDevice, ::IDirectInputDeviceA> {
 public:
  explicit Device(::IDirectInputDeviceA* real) : Adapter(real) {}

  plat::HRESULT SetCooperativeLevel(plat::HWND window, std::uint32_t flags) override {
    return real_->SetCooperativeLevel(reinterpret_cast<HWND>(window), flags);
  }

  plat::HRESULT SetDataFormat(const plat::DIDATAFORMAT* format) override {
    if (!format) return E_INVALIDARG;
    keyboard_ = format->id == plat::c_dfDIKeyboard.id;
    size_ = format->dwDataSize;
    HRESULT result = real_->SetDataFormat(keyboard_ ? &c_dfDIKeyboard : &c_dfDIMouse);
    if (FAILED(result)) return result;
    DIPROPDWORD buffer{};
    buffer.diph.dwSize = sizeof(buffer);
    buffer.diph.dwHeaderSize = sizeof(buffer.diph);
    buffer.diph.dwHow = DIPH_DEVICE;
    buffer.dwData = BUFFERED_EVENTS;
    // Without a buffer the state alone is read; quick taps may then go unseen, nothing worse.
    buffered_ = SUCCEEDED(real_->SetProperty(DIPROP_BUFFERSIZE, &buffer.diph));
    return DI_OK;
  }

  plat::HRESULT Acquire() override { return Normal(real_->Acquire()); }
  plat::HRESULT Unacquire() override { return Normal(real_->Unacquire()); }

  plat::HRESULT GetDeviceState(std::uint32_t size, void* out) override {
    if (returns_ != plat::win32::Returns()) Forget(size, out);
    HRESULT result = real_->GetDeviceState(size, out);
    if (result == DIERR_INPUTLOST || result == DIERR_NOTACQUIRED) {
      // Another program took the device for a while: take it back, as the Linux build never
      // loses it.
      if (SUCCEEDED(real_->Acquire())) result = real_->GetDeviceState(size, out);
    }
    if (FAILED(result)) return result;
    if (buffered_ && size == size_) Add_Taps(static_cast<std::uint8_t*>(out));
    if (keyboard_ && size >= 256) plat::win32::Hide_Host_Keys(static_cast<std::uint8_t*>(out));
    if (keyboard_ && size >= 256) plat::win32::Steer_Keyboard(static_cast<std::uint8_t*>(out));
    if (!keyboard_ && size >= sizeof(DIMOUSESTATE)) plat::win32::Steer_Mouse(out);
    return DI_OK;
  }

 private:
  ~Device() = default;

  // Success codes other than DI_OK (already acquired, and so on) are still success to the game.
  static plat::HRESULT Normal(HRESULT result) { return FAILED(result) ? result : DI_OK; }

  // Motion and presses from while the game was away are not the player's moves in the game.
  void Forget(std::uint32_t size, void* out) {
    returns_ = plat::win32::Returns();
    if (FAILED(real_->GetDeviceState(size, out))) return;
    DWORD count = INFINITE;
    real_->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), nullptr, &count, 0);
  }

  void Add_Taps(std::uint8_t* state) {
    DIDEVICEOBJECTDATA events[64];
    for (;;) {
      DWORD count = 64;
      if (FAILED(real_->GetDeviceData(sizeof(events[0]), events, &count, 0)) || count == 0) return;
      for (DWORD i = 0; i < count; ++i) {
        if (!(events[i].dwData & 0x80)) continue;
        DWORD offset = events[i].dwOfs;
        if (keyboard_ && offset < 256) state[offset] |= 0x80;
        if (!keyboard_ && offset >= DIMOFS_BUTTON0 && offset <= DIMOFS_BUTTON3)
          state[offset] |= 0x80;  // the buttons sit at their own offsets in DIMOUSESTATE
      }
    }
  }

  bool keyboard_ = false;
  bool buffered_ = false;
  std::uint32_t size_ = 0;
  std::uint32_t returns_ = 0;
};

class Input final : public plat::win32::Adapter<plat::IDirectInput, ::IDirectInputA> {
 public:
  explicit Input(::IDirectInputA* real) : Adapter(real) {}

  plat::HRESULT CreateDevice(const plat::GUID& which, plat::IDirectInputDevice** out,
                             void* outer) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    const ::GUID* real_guid = which == plat::GUID_SysKeyboard ? &GUID_SysKeyboard
                              : which == plat::GUID_SysMouse  ? &GUID_SysMouse
                                                              : nullptr;
    if (!real_guid) return DIERR_DEVICENOTREG;
    ::IDirectInputDeviceA* device = nullptr;
    HRESULT result = real_->CreateDevice(*real_guid, &device, nullptr);
    if (FAILED(result)) return result;
    *out = new Device(device);
    return DI_OK;
  }

 private:
  ~Input() = default;
};

}  // namespace

plat::HRESULT plat::win32::Create_DirectInput(std::uint32_t version, plat::IDirectInput** out) {
  ::IDirectInputA* real = nullptr;
  ::HRESULT result = ::DirectInputCreateA(::GetModuleHandleA(nullptr), version, &real, nullptr);
  if (FAILED(result)) return result;
  *out = new Input(real);
  return DI_OK;
}
