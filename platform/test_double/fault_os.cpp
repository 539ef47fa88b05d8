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
    if (it->step != step && it->step != role_step) {
      ++it;
      continue;
    }
    if (it->countdown == EVERY) {
      failed = true;
      *code = it->code;
      ++it;
    } else if (--it->countdown == 0) {
      failed = true;
      *code = it->code;
      it = rules_.erase(it);
    } else {
      ++it;
    }
  }
  return failed;
}

std::size_t Journal::Count(std::string_view entry) const {
  return static_cast<std::size_t>(std::count(entries_.begin(), entries_.end(), entry));
}

long Journal::Index_Of(std::string_view entry) const {
  auto it = std::find(entries_.begin(), entries_.end(), entry);
  return it == entries_.end() ? -1 : static_cast<long>(it - entries_.begin());
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
  const bool checking = !faults_.Empty();
  if (!checking && !journal_.Enabled()) return false;
  std::string role_step = role + "." + method;
  if (!checking) {
    journal_.Record(std::move(role_step));
    return false;
  }
  std::string step = std::string(iface) + "::" + method;
  journal_.Record(role_step);
  return faults_.Check(step, role_step, code);
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
  HRESULT GetAttachedSurface(const DDSCAPS2* caps, IDirectDrawSurface4** out) override {
    HRESULT code;
    if (Fails("GetAttachedSurface", &code)) return Failed(out, code);
    HRESULT result = inner_->GetAttachedSurface(caps, out);
    if (out && *out) *out = new FaultSurface(os_, *out, "back");
    return result;
  }
  ZORVEX_FAULT_METHOD(SetClipper, (IDirectDrawClipper * clipper), (Inner_Clipper(clipper)))
  ZORVEX_FAULT_METHOD(SetColorKey, (std::uint32_t flags, const DDCOLORKEY* key), (flags, key))
  HRESULT GetDC(HDC* out) override {
    HRESULT code;
    return Fails("GetDC", &code) ? Failed(out, code) : inner_->GetDC(out);
  }
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
  HRESULT CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface4** out, void* outer) override {
    HRESULT code;
    if (Fails("CreateSurface", &code)) return Failed(out, code);
    HRESULT result = inner_->CreateSurface(desc, out, outer);
    if (out && *out) {
      const bool primary = desc && (desc->ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE);
      *out = new FaultSurface(os_, *out, primary ? "front" : os_->Next_Role("offscreen"));
    }
    return result;
  }
  HRESULT CreateClipper(std::uint32_t flags, IDirectDrawClipper** out, void* outer) override {
    HRESULT code;
    if (Fails("CreateClipper", &code)) return Failed(out, code);
    HRESULT result = inner_->CreateClipper(flags, out, outer);
    if (out && *out) *out = new FaultClipper(os_, *out);
    return result;
  }
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
  HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** out,
                            void* outer) override {
    HRESULT code;
    if (Fails("CreateSoundBuffer", &code)) return Failed(out, code);
    HRESULT result = inner_->CreateSoundBuffer(desc, out, outer);
    if (out && *out) {
      const bool primary = desc && (desc->dwFlags & DSBCAPS_PRIMARYBUFFER);
      *out = new FaultBuffer(os_, *out, primary ? "primary" : os_->Next_Role("buffer"));
    }
    return result;
  }
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
  HRESULT CreateDevice(const GUID& which, IDirectInputDevice** out, void* outer) override {
    HRESULT code;
    if (Fails("CreateDevice", &code)) return Failed(out, code);
    HRESULT result = inner_->CreateDevice(which, out, outer);
    if (out && *out) *out = new FaultDevice(os_, *out, which == GUID_SysKeyboard);
    return result;
  }
};

#undef ZORVEX_FAULT_METHOD

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

HRESULT FaultOs::DirectDrawCreate(const GUID* device, IDirectDraw** out, void* outer) {
  HRESULT code;
  if (Call("DirectDrawCreate", &code)) return Failed(out, code);
  HRESULT result = inner().DirectDrawCreate(device, out, outer);
  if (out && *out) *out = new FaultDraw(this, *out);
  return result;
}

HRESULT FaultOs::DirectSoundCreate(const GUID* device, IDirectSound** out, void* outer) {
  HRESULT code;
  if (Call("DirectSoundCreate", &code)) return Failed(out, code);
  HRESULT result = inner().DirectSoundCreate(device, out, outer);
  if (out && *out) *out = new FaultSound(this, *out);
  return result;
}

HRESULT FaultOs::DirectInputCreateA(HINSTANCE instance, std::uint32_t version, IDirectInput** out,
                                    void* outer) {
  HRESULT code;
  if (Call("DirectInputCreateA", &code)) return Failed(out, code);
  HRESULT result = inner().DirectInputCreateA(instance, version, out, outer);
  if (out && *out) *out = new FaultInput(this, *out);
  return result;
}

}  // namespace plat::test_double
