// The input interfaces the game uses: a DirectInput-shaped seam.
// Any result but 0 (DI_OK) is a failure.
#pragma once

#include "platform/win_types.h"

namespace plat {

constexpr HRESULT DI_OK = 0;
constexpr HRESULT DIERR_GENERIC = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT DIERR_NOTACQUIRED = static_cast<HRESULT>(0x8007000Cu);
constexpr HRESULT DIERR_INPUTLOST = static_cast<HRESULT>(0x8007001Eu);
constexpr HRESULT DIERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057u);

constexpr std::uint32_t DIRECTINPUT_VERSION = 0x0500;
constexpr std::uint32_t DISCL_NONEXCLUSIVE = 0x02;
constexpr std::uint32_t DISCL_BACKGROUND = 0x08;

constexpr int DIK_ESCAPE = 0x01;
constexpr int DIK_RETURN = 0x1C;
constexpr int DIK_SPACE = 0x39;

struct DIMOUSESTATE {
  std::int32_t lX, lY, lZ;
  std::uint8_t rgbButtons[4];
};
static_assert(sizeof(DIMOUSESTATE) == 16);

// A data format is only ever one of the two standard ones; the id tells them apart.
struct DIDATAFORMAT {
  int id;
  std::uint32_t dwDataSize;
};

extern const GUID GUID_SysKeyboard;
extern const GUID GUID_SysMouse;
extern const DIDATAFORMAT c_dfDIKeyboard;  // 256 key bytes
extern const DIDATAFORMAT c_dfDIMouse;     // a DIMOUSESTATE, relative axes

class IDirectInputDevice : public SeamObject {
 public:
  virtual HRESULT SetCooperativeLevel(HWND window, std::uint32_t flags) = 0;
  virtual HRESULT SetDataFormat(const DIDATAFORMAT* format) = 0;
  virtual HRESULT Acquire() = 0;
  virtual HRESULT Unacquire() = 0;
  virtual HRESULT GetDeviceState(std::uint32_t size, void* out) = 0;
};

class IDirectInput : public SeamObject {
 public:
  virtual HRESULT CreateDevice(const GUID& which, IDirectInputDevice** out, void* outer) = 0;
};

}  // namespace plat
