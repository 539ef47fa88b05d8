// The test double's fault plan and call journal.
//
// Step names: every Os function by its own name ("CreateWindowExA", "LoadImageA",
// "DirectDrawCreate", ...), and every interface method as "Interface::Method":
//   IDirectDraw::QueryInterface
//   IDirectDraw4::SetCooperativeLevel, ::SetDisplayMode, ::CreateSurface, ::CreateClipper
//   IDirectDrawSurface4::Blt, ::Flip, ::GetAttachedSurface, ::SetClipper, ::SetColorKey,
//                        ::GetDC, ::ReleaseDC, ::Lock, ::Unlock
//   IDirectDrawClipper::SetClipList
//   IDirectInput::CreateDevice
//   IDirectInputDevice::SetCooperativeLevel, ::SetDataFormat, ::Acquire, ::Unacquire,
//                       ::GetDeviceState
// A method step may also be named by the object's role instead of its interface, to hit one
// object only: "back.Blt", "keyboard.Acquire", "mouse.GetDeviceState".
// Roles: "IDirectDraw" (the first object), "IDirectDraw4", "front", "back", "offscreen1",
// "offscreen2", ... (in creation order), "clipper", "IDirectInput", "keyboard", "mouse".
// Release cannot be made to fail. A failed GetTickCount returns the code as the tick; a failed
// void call (PostQuitMessage, OutputDebugStringA) does nothing.
//
// The journal records each call as it is made: Os functions by name, methods as
// "role.Method" ("front.Release", "keyboard.Unacquire", "IDirectDraw4.Release").
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_types.h"

namespace plat::soft {

class FaultPlan {
 public:
  static constexpr int kEvery = 0;
  // Makes call number `nth` of `step` from now (1: the next) fail with `code`, or every call
  // until Clear when nth is kEvery. Calls returning a handle or a flag fail as the system does
  // (null, false or 0) whatever the code.
  void Fail(const std::string& step, HRESULT code, int nth = 1);
  void Clear() { rules_.clear(); }
  bool Empty() const { return rules_.empty(); }
  // Counts a call to `step` (known also as `role_step`); true with *code set when it fails.
  bool Check(std::string_view step, std::string_view role_step, HRESULT* code);

 private:
  struct Rule {
    std::string step;
    HRESULT code;
    int countdown;  // 0: every call
  };
  std::vector<Rule> rules_;
};

class Journal {
 public:
  void Set_Enabled(bool on) { enabled_ = on; }
  bool Enabled() const { return enabled_; }
  void Record(std::string entry) {
    if (enabled_) entries_.push_back(std::move(entry));
  }
  void Clear() { entries_.clear(); }
  const std::vector<std::string>& Entries() const { return entries_; }
  std::size_t Count(std::string_view entry) const;
  // Position of the first such entry, or -1.
  long Index_Of(std::string_view entry) const;
  // The entries that name one of `wanted`, in order: handy for checking an order of calls.
  std::vector<std::string> Only(const std::vector<std::string>& wanted) const;

 private:
  bool enabled_ = false;
  std::vector<std::string> entries_;
};

}  // namespace plat::soft
