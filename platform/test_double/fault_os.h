// Fault injection and the call journal, as a layer tests put over any backend (as ScriptOs is).
//
// Step names: every Os function by its own name ("CreateWindowExA", "LoadImageA",
// "DirectDrawCreate", ...), and every interface method as "Interface::Method":
//   IDirectDraw::QueryInterface
//   IDirectDraw4::SetCooperativeLevel, ::SetDisplayMode, ::CreateSurface, ::CreateClipper
//   IDirectDrawSurface4::Blt, ::Flip, ::GetAttachedSurface, ::SetClipper, ::SetColorKey,
//                        ::GetDC, ::ReleaseDC, ::Lock, ::Unlock
//   IDirectDrawClipper::SetClipList
//   IDirectSound::SetCooperativeLevel, ::CreateSoundBuffer
//   IDirectSoundBuffer::SetFormat, ::SetFrequency, ::SetCurrentPosition, ::SetVolume, ::Lock,
//                       ::Unlock, ::Play, ::Stop
//   IDirectInput::CreateDevice
//   IDirectInputDevice::SetCooperativeLevel, ::SetDataFormat, ::Acquire, ::Unacquire,
//                       ::GetDeviceState
// A method step may also be named by the object's role instead of its interface, to hit one
// object only: "back.Blt", "keyboard.Acquire", "buffer3.Play".
// Roles: "IDirectDraw" (the first object), "IDirectDraw4", "front" (the primary surface),
// "back" (its attached page), "offscreen1", "offscreen2", ... (in creation order), "clipper",
// "IDirectSound", "primary" (the primary sound buffer), "buffer1", "buffer2", ..., "IDirectInput",
// "keyboard", "mouse".
// Release cannot be made to fail. A failed GlobalAlloc returns null, a failed GlobalFree the block
// (still allocated); a failed GetTickCount returns the code as the tick; a failed
// void call (PostQuitMessage, OutputDebugStringA) does nothing; other calls answer as the seam's
// list says (a null handle, false or 0).
//
// The journal records each call as the game makes it: Os functions by name, methods as
// "role.Method" ("front.Release", "keyboard.Unacquire", "IDirectDraw4.Release").
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/os.h"

namespace plat::test_double {

class FaultPlan {
 public:
  static constexpr int EVERY = 0;
  // Makes call number `nth` of `step` from now (1: the next) fail with `code`, or every call
  // until Clear when nth is EVERY. Calls returning a handle or a flag fail as the system does
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
  std::size_t Count(std::string_view entry) const;
  // The entries that name one of `wanted`, in order: handy for checking an order of calls.
  std::vector<std::string> Only(const std::vector<std::string>& wanted) const;

 private:
  bool enabled_ = false;
  std::vector<std::string> entries_;
};

class FaultOs final : public OsLayer {
 public:
  explicit FaultOs(Os& inner) : OsLayer(inner) {}

  FaultPlan& faults() { return faults_; }
  Journal& journal() { return journal_; }

  ZORVEX_OS_CALLS(ZORVEX_OS_OVERRIDE)

  // The blocks GlobalAlloc handed out and GlobalFree has not taken back.
  int Live_Blocks() const { return live_blocks_; }
  // The DirectX objects this layer handed out and the game has not released.
  int Live_Objects() const { return live_objects_; }

  // The backend's own surface beneath one this layer handed out (any other as it is).
  static IDirectDrawSurface4* Inner_Of(IDirectDrawSurface4* surface);

  // Used by the objects this layer hands out.
  // Journals a method call and asks the fault plan about it: true (with *code) means fail.
  bool Step(const char* iface, const char* method, const std::string& role, HRESULT* code);
  void Note(const std::string& role, const char* method);  // journal only
  std::string Next_Role(const char* kind) { return kind + std::to_string(++role_counts_[kind]); }
  void Count_Object(int change) { live_objects_ += change; }

 private:
  bool Call(const char* name, HRESULT* code);  // an Os function's Step

  FaultPlan faults_;
  Journal journal_;
  std::unordered_map<std::string, int> role_counts_;
  int live_blocks_ = 0;
  int live_objects_ = 0;
};

}  // namespace plat::test_double
