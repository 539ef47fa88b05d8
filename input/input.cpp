// Keyboard and mouse: created once, polled once a frame, moving the game's own pointer.
#include "input/input.h"

#include "core/log.h"
#include "core/window.h"
#include "gfx/display.h"
#include "gfx/sprites.h"
#include "platform/os.h"

namespace zorvex {

using namespace plat;

IDirectInput* lpdi = nullptr;
IDirectInputDevice* lpdikeyboard = nullptr;
IDirectInputDevice* lpdimouse = nullptr;
std::uint8_t keys[256];
DIMOUSESTATE mouse_state;
std::int32_t pointer_x = 0;

namespace {

constexpr std::uint32_t DEVICE_COOPERATION = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;
constexpr COLORREF WHITE = 0xFFFFFF;
constexpr std::int32_t POINTER_MAX = 640;

// A step on a device that was never created cannot be made; it fails like any other.
HRESULT Missing() { return DIERR_GENERIC; }

void Log_If_Failed(HRESULT result, const char* message) {
  if (result != DI_OK) Log_Error("%s", message);
}

IDirectInputDevice* Create_Device(const GUID& which, const char* message) {
  IDirectInputDevice* device = nullptr;
  HRESULT result = lpdi ? lpdi->CreateDevice(which, &device, nullptr) : Missing();
  Log_If_Failed(result, message);
  return result == DI_OK ? device : nullptr;
}

void Set_Up_Device(IDirectInputDevice* device, const DIDATAFORMAT& format,
                   const char* cooperation_message, const char* format_message,
                   const char* acquire_message) {
  Log_If_Failed(device ? device->SetCooperativeLevel(main_window, DEVICE_COOPERATION) : Missing(),
                cooperation_message);
  Log_If_Failed(device ? device->SetDataFormat(&format) : Missing(), format_message);
  Log_If_Failed(device ? device->Acquire() : Missing(), acquire_message);
}

}  // namespace

void Init_Input() {
  HRESULT created = DirectInputCreateA(app_instance, DIRECTINPUT_VERSION, &lpdi, nullptr);
  if (created != DI_OK) lpdi = nullptr;
  Log_If_Failed(created, "Could not create DirectInput Object.");

  lpdikeyboard = Create_Device(GUID_SysKeyboard, "Could not create DI Keyboard");
  Set_Up_Device(lpdikeyboard, c_dfDIKeyboard, "Could not set DI Cooperation Level on Keyboard.",
                "Could not set DI Data Format on Keyboard.", "Could not Acquire Keyboard");

  lpdimouse = Create_Device(GUID_SysMouse, "Could not create DirectInput Mouse");
  Set_Up_Device(lpdimouse, c_dfDIMouse, "Could not set DI Cooperation Level on Mouse.",
                "Could not set DI Data Format on Mouse.", "Could not Acquire Mouse");
}

void Poll_Input() {
  HRESULT result = lpdikeyboard ? lpdikeyboard->GetDeviceState(sizeof(keys), keys) : Missing();
  // Kept quirk: the failure text is drawn before the frame's clear, which hides it.
  if (result != DI_OK) Print_Text("KeyBoard Get Device State Error.", 0, 0, WHITE, lpddsback);

  result = lpdimouse ? lpdimouse->GetDeviceState(sizeof(mouse_state), &mouse_state) : Missing();
  if (result != DI_OK) Print_Text("Mouse Get Device State Error.", 0, 0, WHITE, lpddsback);

  // Widened so that no motion, however large, can overflow before the clamp.
  std::int64_t moved = static_cast<std::int64_t>(pointer_x) + mouse_state.lX;
  if (moved < 0) moved = 0;
  if (moved > POINTER_MAX) moved = POINTER_MAX;
  pointer_x = static_cast<std::int32_t>(moved);
}

}  // namespace zorvex
