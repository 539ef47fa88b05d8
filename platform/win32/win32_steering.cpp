// Steering without a mouse on Windows: the host layer's sensitivity, steering keys and XInput
// pads, added to what DirectInput reads for the game, so the game sees them as the mouse's
// motion and left button, Enter and Escape. XInput is loaded when there, so that the program
// still starts on a system without it.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "host/host_layer.h"
#include "platform/win32/win32_parts.h"
// The seam's headers first: the system's macros would otherwise rewrite their constants.
// clang-format off
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <dinput.h>
#include <xinput.h>
// clang-format on

namespace {

using GetState = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);

// What the pads and keys have for the game's next reads. A press is kept until read once, so a
// tap between two frames still counts.
struct Pending {
  std::int64_t motion = 0;
  bool key_fire = false, key_fire_tap = false;
  bool pad_fire = false, pad_fire_tap = false;
  bool enter = false, enter_tap = false;
  bool escape = false;
};
Pending pending;
std::uint32_t returns_seen = 0;

GetState XInput() {
  static bool loaded = false;
  static GetState get_state = nullptr;
  if (loaded) return get_state;
  loaded = true;
  for (const char* name : {"xinput1_4.dll", "xinput1_3.dll", "xinput9_1_0.dll"}) {
    HMODULE module = LoadLibraryA(name);
    if (!module) continue;
    get_state = reinterpret_cast<GetState>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, "XInputGetState")));
    if (get_state) break;
  }
  return get_state;
}

// Asking an empty slot is slow on some systems: empty slots are asked again once a second.
host::PadState Read_Pads(ULONGLONG now) {
  static ULONGLONG empty_until[XUSER_MAX_COUNT] = {};
  host::PadState s;
  const GetState get_state = XInput();
  if (!get_state) return s;
  for (DWORD slot = 0; slot < XUSER_MAX_COUNT; ++slot) {
    if (now < empty_until[slot]) continue;
    XINPUT_STATE state{};
    if (get_state(slot, &state) != ERROR_SUCCESS) {
      empty_until[slot] = now + 1000;
      continue;
    }
    const XINPUT_GAMEPAD& pad = state.Gamepad;
    s.connected = true;
    const double x = std::clamp(pad.sThumbLX / 32767.0, -1.0, 1.0);
    if (std::abs(x) > std::abs(s.stick_x)) s.stick_x = x;
    s.left |= (pad.wButtons & XINPUT_GAMEPAD_DPAD_LEFT) != 0;
    s.right |= (pad.wButtons & XINPUT_GAMEPAD_DPAD_RIGHT) != 0;
    s.fire |= (pad.wButtons & XINPUT_GAMEPAD_A) != 0 || pad.bRightTrigger > 128;
    s.start |= (pad.wButtons & XINPUT_GAMEPAD_START) != 0;
    s.back |= (pad.wButtons & XINPUT_GAMEPAD_BACK) != 0;
  }
  return s;
}

void Change(int change, bool* held, bool* tap) {
  if (change == 0) return;
  *held = change > 0;
  if (*held && tap) *tap = true;
}

}  // namespace

void plat::win32::Fire_Key(int change) { Change(change, &pending.key_fire, &pending.key_fire_tap); }

void plat::win32::Poll_Pads() {
  host::HostLayer& layer = Host();
  const ULONGLONG now = GetTickCount64();
  const host::PadReaction r = layer.Pad(Read_Pads(now), now);
  if (r.pause && layer.Paused()) pending = Pending{};
  // The layer puts its own note over the picture; the log says what happened.
  if (r.pause) layer.Report(layer.Paused() ? "Pad unplugged: paused" : "Pad back: playing on");
  pending.motion += r.motion;
  Change(r.fire, &pending.pad_fire, &pending.pad_fire_tap);
  Change(r.enter, &pending.enter, &pending.enter_tap);
  Change(r.escape, &pending.escape, nullptr);
}

void plat::win32::Steer_Mouse(void* state) {
  host::HostLayer& layer = Host();
  auto* mouse = static_cast<DIMOUSESTATE*>(state);
  if (returns_seen != Returns()) {
    // Back from away: keys and pads held then are let go.
    returns_seen = Returns();
    layer.Let_Go();
    pending = Pending{};
  }
  Poll_Pads();
  std::int32_t dx = mouse->lX, dy = mouse->lY;
  layer.Scale_Mouse(&dx, &dy);
  const std::int64_t x = std::int64_t{dx} + layer.Key_Motion(GetTickCount64()) + pending.motion;
  mouse->lX = static_cast<LONG>(std::clamp<std::int64_t>(
      x, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
  mouse->lY = dy;
  pending.motion = 0;
  if (pending.key_fire || pending.key_fire_tap || pending.pad_fire || pending.pad_fire_tap)
    mouse->rgbButtons[0] |= 0x80;
  pending.key_fire_tap = pending.pad_fire_tap = false;
}

void plat::win32::Steer_Keyboard(std::uint8_t* keyboard_state) {
  if (pending.enter || pending.enter_tap) keyboard_state[DIK_RETURN] |= 0x80;
  if (pending.escape) keyboard_state[DIK_ESCAPE] |= 0x80;
  pending.enter_tap = false;
}

bool plat::win32::Steer_Escape() { return pending.escape; }
