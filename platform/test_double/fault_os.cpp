#include "platform/test_double/fault_os.h"

#include <algorithm>

namespace plat::test_double {

// ---- The plan and the journal ----

void FaultPlan::Fail(const std::string& step, HRESULT code, int nth) {
  rules_.push_back({step, code, nth < 0 ? 1 : nth});
}

bool FaultPlan::Check(std::string_view step, std::string_view role_step, HRESULT* code) {
  bool failed = false;
  for (auto it = rules_.begin(); it != rules_.end();) {
    const bool every = it->countdown == EVERY;
    if ((it->step == step || it->step == role_step) && (every || --it->countdown == 0)) {
      failed = true;
      *code = it->code;
    }
    it = !every && it->countdown == 0 ? rules_.erase(it) : it + 1;
  }
  return failed;
}

std::size_t Journal::Count(std::string_view entry) const {
  return static_cast<std::size_t>(std::count(entries_.begin(), entries_.end(), entry));
}

std::vector<std::string> Journal::Only(const std::vector<std::string>& wanted) const {
  std::vector<std::string> out;
  for (const auto& e : entries_)
    if (std::find(wanted.begin(), wanted.end(), e) != wanted.end()) out.push_back(e);
  return out;
}

bool FaultOs::Call(const char* name, HRESULT* code) {
  if (journal_.Enabled()) journal_.Record(name);
  return !faults_.Empty() && faults_.Check(name, name, code);
}

bool FaultOs::Step(const char* iface, const char* method, const std::string& role, HRESULT* code) {
  if (faults_.Empty() && !journal_.Enabled()) return false;  // no names to make
  std::string role_step = role + "." + method;
  journal_.Record(role_step);
  return !faults_.Empty() && faults_.Check(std::string(iface) + "::" + method, role_step, code);
}

void FaultOs::Note(const std::string& role, const char* method) {
  if (journal_.Enabled()) journal_.Record(role + "." + method);
}

// ---- The objects handed out: each journals and may fail every method, then asks the backend's
// own object. The game holds one reference to each, so one Release ends the pair. ----

namespace {

template <class Seam>
class Wrapper : public Seam {
 public:
  Wrapper(FaultOs* os, Seam* inner, const char* iface, std::string role)
      : os_(os), inner_(inner), iface_(iface), role_(std::move(role)) {
    os_->Count_Object(1);
  }
  std::uint32_t Release() override {
    os_->Note(role_, "Release");
    os_->Count_Object(-1);
    std::uint32_t count = inner_->Release();
    delete this;
    return count;
  }
  Seam* Inner() const { return inner_; }

 protected:
  virtual ~Wrapper() = default;
  bool Fails(const char* method, HRESULT* code) { return os_->Step(iface_, method, role_, code); }
  FaultOs* os_;
  Seam* const inner_;

 private:
  const char* iface_;
  std::string role_;
};

// A failed call that hands out an object leaves its out pointer null, as the system does.
template <class T>
HRESULT Failed(T** out, HRESULT code) {
  if (out) *out = nullptr;
  return code;
}

// A method that journals, may fail, and otherwise asks the backend's object (with `args`, which
// may unwrap objects this layer handed out).
#define ZORVEX_FAULT_METHOD(name, params, args)            \
  HRESULT name params override {                           \
    HRESULT code;                                          \
    return Fails(#name, &code) ? code : inner_->name args; \
  }
// The same for a method that hands out an object in `out`: what it made is handed on as `made`
// (an expression of *out), so that its calls pass through this layer too.
#define ZORVEX_FAULT_MAKER(name, params, args, made)   \
  HRESULT name params override {                       \
    HRESULT code;                                      \
    if (Fails(#name, &code)) return Failed(out, code); \
    HRESULT result = inner_->name args;                \
    if (out && *out) *out = made;                      \
    return result;                                     \
  }

class FaultClipper final : public Wrapper<IDirectDrawClipper> {
 public:
  FaultClipper(FaultOs* os, IDirectDrawClipper* inner)
      : Wrapper(os, inner, "IDirectDrawClipper", "clipper") {}
  ZORVEX_FAULT_METHOD(SetClipList, (const RGNDATA* region, std::uint32_t flags), (region, flags))
};

IDirectDrawClipper* Inner_Clipper(IDirectDrawClipper* clipper) {
  auto* ours = dynamic_cast<FaultClipper*>(clipper);
  return ours ? ours->Inner() : clipper;
}

class FaultSurface final : public Wrapper<IDirectDrawSurface4> {
 public:
  FaultSurface(FaultOs* os, IDirectDrawSurface4* inner, std::string role)
      : Wrapper(os, inner, "IDirectDrawSurface4", std::move(role)) {}
  ZORVEX_FAULT_METHOD(Blt,
                      (const RECT* dst, IDirectDrawSurface4* src, const RECT* src_rect,
                       std::uint32_t flags, const DDBLTFX* fx),
                      (dst, FaultOs::Inner_Of(src), src_rect, flags, fx))
  ZORVEX_FAULT_METHOD(Flip, (IDirectDrawSurface4 * target, std::uint32_t flags),
                      (FaultOs::Inner_Of(target), flags))
  ZORVEX_FAULT_MAKER(GetAttachedSurface, (const DDSCAPS2* caps, IDirectDrawSurface4** out),
                     (caps, out), new FaultSurface(os_, *out, "back"))
  ZORVEX_FAULT_METHOD(SetClipper, (IDirectDrawClipper * clipper), (Inner_Clipper(clipper)))
  ZORVEX_FAULT_METHOD(SetColorKey, (std::uint32_t flags, const DDCOLORKEY* key), (flags, key))
  ZORVEX_FAULT_MAKER(GetDC, (HDC * out), (out), *out)
  ZORVEX_FAULT_METHOD(ReleaseDC, (HDC dc), (dc))
  ZORVEX_FAULT_METHOD(Lock, (RECT * rect, DDSURFACEDESC2* desc, std::uint32_t flags, HANDLE event),
                      (rect, desc, flags, event))
  ZORVEX_FAULT_METHOD(Unlock, (RECT * rect), (rect))
};

class FaultDraw4 final : public Wrapper<IDirectDraw4> {
 public:
  FaultDraw4(FaultOs* os, IDirectDraw4* inner)
      : Wrapper(os, inner, "IDirectDraw4", "IDirectDraw4") {}
  ZORVEX_FAULT_METHOD(SetCooperativeLevel, (HWND window, std::uint32_t flags), (window, flags))
  ZORVEX_FAULT_METHOD(SetDisplayMode,
                      (std::uint32_t width, std::uint32_t height, std::uint32_t bpp,
                       std::uint32_t refresh, std::uint32_t flags),
                      (width, height, bpp, refresh, flags))
  ZORVEX_FAULT_MAKER(CreateSurface, (DDSURFACEDESC2 * desc, IDirectDrawSurface4** out, void* outer),
                     (desc, out, outer),
                     new FaultSurface(os_, *out,
                                      desc && (desc->ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE)
                                          ? "front"
                                          : os_->Next_Role("offscreen")))
  ZORVEX_FAULT_MAKER(CreateClipper, (std::uint32_t flags, IDirectDrawClipper** out, void* outer),
                     (flags, out, outer), new FaultClipper(os_, *out))
};

class FaultDraw final : public Wrapper<IDirectDraw> {
 public:
  FaultDraw(FaultOs* os, IDirectDraw* inner) : Wrapper(os, inner, "IDirectDraw", "IDirectDraw") {}
  HRESULT QueryInterface(const GUID& iid, void** out) override {
    HRESULT code;
    if (Fails("QueryInterface", &code)) return Failed(out, code);
    HRESULT result = inner_->QueryInterface(iid, out);
    if (out && *out && iid == IID_IDirectDraw4)
      *out = static_cast<IDirectDraw4*>(new FaultDraw4(os_, static_cast<IDirectDraw4*>(*out)));
    return result;
  }
};

class FaultBuffer final : public Wrapper<IDirectSoundBuffer> {
 public:
  FaultBuffer(FaultOs* os, IDirectSoundBuffer* inner, std::string role)
      : Wrapper(os, inner, "IDirectSoundBuffer", std::move(role)) {}
  ZORVEX_FAULT_METHOD(SetFormat, (const WAVEFORMATEX* format), (format))
  ZORVEX_FAULT_METHOD(SetFrequency, (std::uint32_t hz), (hz))
  ZORVEX_FAULT_METHOD(SetCurrentPosition, (std::uint32_t byte_offset), (byte_offset))
  ZORVEX_FAULT_METHOD(SetVolume, (std::int32_t hundredths_db), (hundredths_db))
  ZORVEX_FAULT_METHOD(Lock,
                      (std::uint32_t offset, std::uint32_t bytes, void** region1,
                       std::uint32_t* bytes1, void** region2, std::uint32_t* bytes2,
                       std::uint32_t flags),
                      (offset, bytes, region1, bytes1, region2, bytes2, flags))
  ZORVEX_FAULT_METHOD(Unlock,
                      (void* region1, std::uint32_t bytes1, void* region2, std::uint32_t bytes2),
                      (region1, bytes1, region2, bytes2))
  ZORVEX_FAULT_METHOD(Play, (std::uint32_t reserved, std::uint32_t priority, std::uint32_t flags),
                      (reserved, priority, flags))
  ZORVEX_FAULT_METHOD(Stop, (), ())
};

class FaultSound final : public Wrapper<IDirectSound> {
 public:
  FaultSound(FaultOs* os, IDirectSound* inner)
      : Wrapper(os, inner, "IDirectSound", "IDirectSound") {}
  ZORVEX_FAULT_METHOD(SetCooperativeLevel, (HWND window, std::uint32_t level), (window, level))
  ZORVEX_FAULT_MAKER(CreateSoundBuffer,
                     (const DSBUFFERDESC* desc, IDirectSoundBuffer** out, void* outer),
                     (desc, out, outer),
                     new FaultBuffer(os_, *out,
                                     desc && (desc->dwFlags & DSBCAPS_PRIMARYBUFFER)
                                         ? "primary"
                                         : os_->Next_Role("buffer")))
};

class FaultDevice final : public Wrapper<IDirectInputDevice> {
 public:
  FaultDevice(FaultOs* os, IDirectInputDevice* inner, bool keyboard)
      : Wrapper(os, inner, "IDirectInputDevice", keyboard ? "keyboard" : "mouse") {}
  ZORVEX_FAULT_METHOD(SetCooperativeLevel, (HWND window, std::uint32_t flags), (window, flags))
  ZORVEX_FAULT_METHOD(SetDataFormat, (const DIDATAFORMAT* format), (format))
  ZORVEX_FAULT_METHOD(Acquire, (), ())
  ZORVEX_FAULT_METHOD(Unacquire, (), ())
  ZORVEX_FAULT_METHOD(GetDeviceState, (std::uint32_t size, void* out), (size, out))
};

class FaultInput final : public Wrapper<IDirectInput> {
 public:
  FaultInput(FaultOs* os, IDirectInput* inner)
      : Wrapper(os, inner, "IDirectInput", "IDirectInput") {}
  ZORVEX_FAULT_MAKER(CreateDevice, (const GUID& which, IDirectInputDevice** out, void* outer),
                     (which, out, outer), new FaultDevice(os_, *out, which == GUID_SysKeyboard))
};

#undef ZORVEX_FAULT_METHOD
#undef ZORVEX_FAULT_MAKER

// The first objects, which the entry points hand out.
IDirectDraw* Wrap(FaultOs* os, IDirectDraw* made) { return new FaultDraw(os, made); }
IDirectSound* Wrap(FaultOs* os, IDirectSound* made) { return new FaultSound(os, made); }
IDirectInput* Wrap(FaultOs* os, IDirectInput* made) { return new FaultInput(os, made); }

}  // namespace

IDirectDrawSurface4* FaultOs::Inner_Of(IDirectDrawSurface4* surface) {
  auto* ours = dynamic_cast<FaultSurface*>(surface);
  return ours ? ours->Inner() : surface;
}

// ---- The Os functions ----

#define ZORVEX_FAULT_CALL(result, name, params, args, failed) \
  result FaultOs::name params {                               \
    HRESULT code = 0;                                         \
    if (Call(#name, &code)) return failed;                    \
    return inner().name args;                                 \
  }
ZORVEX_OS_WINDOWS_CALLS(ZORVEX_FAULT_CALL)
#undef ZORVEX_FAULT_CALL

HGLOBAL FaultOs::GlobalAlloc(std::uint32_t flags, std::size_t bytes) {
  HRESULT code;
  if (Call("GlobalAlloc", &code)) return nullptr;
  HGLOBAL block = inner().GlobalAlloc(flags, bytes);
  if (block) ++live_blocks_;
  return block;
}

HGLOBAL FaultOs::GlobalFree(HGLOBAL block) {
  HRESULT code;
  if (Call("GlobalFree", &code)) return block;
  HGLOBAL left = inner().GlobalFree(block);
  if (block && !left) --live_blocks_;
  return left;
}

#define ZORVEX_FAULT_CREATE(result, name, params, args, failed) \
  result FaultOs::name params {                                 \
    HRESULT code;                                               \
    if (Call(#name, &code)) return Failed(out, code);           \
    HRESULT made = inner().name args;                           \
    if (out && *out) *out = Wrap(this, *out);                   \
    return made;                                                \
  }
ZORVEX_OS_DIRECTX_CALLS(ZORVEX_FAULT_CREATE)
#undef ZORVEX_FAULT_CREATE

}  // namespace plat::test_double
