#include "platform/soft/ddraw_objects.h"

#include <cstring>
#include <new>

#include "platform/soft/soft_os_impl.h"

namespace plat::soft {

namespace {

constexpr std::uint32_t MAX_CLIP_RECTS = 4096;
constexpr int MAX_SIDE = 16384;
constexpr std::int64_t MAX_PIXELS = std::int64_t{64} << 20;
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);

bool Inverted(const Box& b) { return b.right < b.left || b.bottom < b.top; }

}  // namespace

// ---- Clipper ----

HRESULT SoftClipper::SetClipList(const RGNDATA* region, std::uint32_t flags) {
  if (flags != 0) return DDERR_INVALIDPARAMS;
  if (!region) {
    has_list_ = false;
    rects_.clear();
    return DD_OK;
  }
  const RGNDATAHEADER& h = region->rdh;
  if (h.dwSize != sizeof(RGNDATAHEADER) || h.iType != RDH_RECTANGLES || h.nCount > MAX_CLIP_RECTS ||
      h.nRgnSize < h.nCount * sizeof(RECT))
    return DDERR_INVALIDPARAMS;
  std::vector<Box> rects;
  for (std::uint32_t i = 0; i < h.nCount; ++i) {
    RECT r;
    std::memcpy(&r, region->Buffer + i * sizeof(RECT), sizeof r);
    Box box = To_Box(r);
    if (!box.Empty()) rects.push_back(box);
  }
  rects_ = std::move(rects);
  has_list_ = true;
  return DD_OK;
}

// ---- Surface ----

SoftSurface::SoftSurface(SoftOs* os, int width, int height) : os_(os) {
  pixels_.width = width;
  pixels_.height = height;
  pixels_.data.assign(static_cast<std::size_t>(width) * height, 0);
}

SoftSurface::~SoftSurface() {
  if (dc_) os_->Close_Dc(dc_);
  if (clipper_) clipper_->Release();
  if (back_) back_->Release();
  if (os_->Primary() == this) os_->Set_Primary(nullptr);
}

// Calls fn for each part of `dst` that may be drawn: the clip list's rectangles when a clipper
// is attached, otherwise the whole rectangle, which must then lie on the surface.
template <typename Fn>
HRESULT SoftSurface::Each_Visible_Part(const Box& dst, Fn fn) {
  const Box whole{0, 0, pixels_.width, pixels_.height};
  if (!clipper_) {
    if (!dst.Inside(whole)) return DDERR_INVALIDRECT;
    fn(dst);
    return DD_OK;
  }
  if (!clipper_->Has_List()) return DDERR_NOCLIPLIST;
  for (const Box& clip : clipper_->Rects()) {
    Box part = Intersect(Intersect(dst, clip), whole);
    if (!part.Empty()) fn(part);
  }
  return DD_OK;
}

HRESULT SoftSurface::Blt(const RECT* dst_rect, IDirectDrawSurface4* src_surface,
                         const RECT* src_rect, std::uint32_t flags, const DDBLTFX* fx) {
  if (locked_) return DDERR_SURFACEBUSY;
  const Box dst = dst_rect ? To_Box(*dst_rect) : Box{0, 0, pixels_.width, pixels_.height};
  if (Inverted(dst)) return DDERR_INVALIDRECT;

  if (flags & DDBLT_COLORFILL) {
    if (!fx) return DDERR_INVALIDPARAMS;
    if (dst.Empty()) return DD_OK;
    const auto colour = static_cast<std::uint16_t>(fx->dwFillColor);
    return Each_Visible_Part(dst, [&](const Box& part) { Fill_Box(&pixels_, part, colour); });
  }

  if (!src_surface) return DDERR_INVALIDPARAMS;
  auto* src = static_cast<SoftSurface*>(src_surface);  // every surface comes from this backend
  if (src->locked_) return DDERR_SURFACEBUSY;
  const Pixels& from = src->pixels_;
  const Box box = src_rect ? To_Box(*src_rect) : Box{0, 0, from.width, from.height};
  if (Inverted(box)) return DDERR_INVALIDRECT;
  if (dst.Empty() || box.Empty()) return DD_OK;
  if (!box.Inside({0, 0, from.width, from.height})) return DDERR_INVALIDRECT;
  if (box.right - box.left != dst.right - dst.left || box.bottom - box.top != dst.bottom - dst.top)
    return DDERR_INVALIDPARAMS;  // stretching is not offered
  const bool keyed = (flags & DDBLT_KEYSRC) && src->keyed_;
  return Each_Visible_Part(dst, [&](const Box& part) {
    Copy_Block(&pixels_, static_cast<int>(part.left), static_cast<int>(part.top), from,
               static_cast<int>(box.left + (part.left - dst.left)),
               static_cast<int>(box.top + (part.top - dst.top)),
               static_cast<int>(part.right - part.left), static_cast<int>(part.bottom - part.top),
               keyed, src->key_);
  });
}

HRESULT SoftSurface::Flip(IDirectDrawSurface4* target, std::uint32_t) {
  if (!back_) return DDERR_GENERIC;  // not the head of a flipping chain
  if (target && target != back_) return DDERR_INVALIDPARAMS;
  if (locked_ || back_->locked_) return DDERR_SURFACEBUSY;  // the pages are about to swap
  return os_->Show_Frame(this, back_);
}

HRESULT SoftSurface::GetAttachedSurface(const DDSCAPS2* caps, IDirectDrawSurface4** out) {
  if (out) *out = nullptr;
  if (!caps || !out) return DDERR_INVALIDPARAMS;
  if (!(caps->dwCaps & DDSCAPS_BACKBUFFER) || !back_) return DDERR_GENERIC;
  back_->AddRef();
  *out = back_;
  return DD_OK;
}

HRESULT SoftSurface::SetClipper(IDirectDrawClipper* clipper) {
  auto* next = static_cast<SoftClipper*>(clipper);
  if (next) next->AddRef();
  if (clipper_) clipper_->Release();
  clipper_ = next;
  return DD_OK;
}

HRESULT SoftSurface::SetColorKey(std::uint32_t flags, const DDCOLORKEY* key) {
  if (flags != DDCKEY_SRCBLT) return DDERR_INVALIDPARAMS;  // only source keys are offered
  keyed_ = key != nullptr;
  key_ = key ? static_cast<std::uint16_t>(key->dwColorSpaceLowValue) : 0;
  return DD_OK;
}

HRESULT SoftSurface::GetDC(HDC* out) {
  if (out) *out = nullptr;
  if (!out) return DDERR_INVALIDPARAMS;
  if (dc_) return DDERR_GENERIC;  // one device context at a time
  if (locked_) return DDERR_SURFACEBUSY;
  dc_ = os_->Open_Surface_Dc(this);
  *out = dc_;
  return DD_OK;
}

HRESULT SoftSurface::ReleaseDC(HDC dc) {
  if (!dc || dc != dc_) return DDERR_INVALIDPARAMS;
  os_->Close_Dc(dc_);
  dc_ = nullptr;
  return DD_OK;
}

HRESULT SoftSurface::Lock(RECT* rect, DDSURFACEDESC2* desc, std::uint32_t, HANDLE) {
  if (!desc || desc->dwSize != DDSURFACEDESC2_SIZE) return DDERR_INVALIDPARAMS;
  if (locked_) return DDERR_SURFACEBUSY;
  const Box whole{0, 0, pixels_.width, pixels_.height};
  const Box box = rect ? To_Box(*rect) : whole;
  if (box.Empty() || !box.Inside(whole)) return DDERR_INVALIDRECT;
  desc->dwFlags =
      DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_LPSURFACE | DDSD_PIXELFORMAT;
  desc->dwWidth = static_cast<std::uint32_t>(pixels_.width);
  desc->dwHeight = static_cast<std::uint32_t>(pixels_.height);
  desc->lPitch = pixels_.width * static_cast<std::int32_t>(sizeof(std::uint16_t));
  desc->lpSurface = pixels_.Row(static_cast<int>(box.top)) + box.left;
  desc->ddpfPixelFormat = DDPIXELFORMAT{32, DDPF_RGB, 0, 16, 0xF800, 0x07E0, 0x001F, 0};
  desc->ddsCaps = DDSCAPS2{back_ ? DDSCAPS_PRIMARYSURFACE : DDSCAPS_OFFSCREENPLAIN, 0, 0, 0};
  locked_ = true;
  return DD_OK;
}

HRESULT SoftSurface::Unlock(RECT*) {
  if (!locked_) return DDERR_NOTLOCKED;
  locked_ = false;
  return DD_OK;
}

// ---- DirectDraw ----

HRESULT SoftDirectDraw::QueryInterface(const GUID& iid, void** out) {
  if (out) *out = nullptr;
  if (!out) return DDERR_INVALIDPARAMS;
  if (!(iid == IID_IDirectDraw4)) return E_NOINTERFACE;
  *out = static_cast<IDirectDraw4*>(new SoftDirectDraw4(os_));
  return DD_OK;
}

HRESULT SoftDirectDraw4::SetCooperativeLevel(HWND window, std::uint32_t flags) {
  const bool full = flags & DDSCL_FULLSCREEN, exclusive = flags & DDSCL_EXCLUSIVE;
  if (full != exclusive || (exclusive && !window)) return DDERR_INVALIDPARAMS;
  return DD_OK;
}

HRESULT SoftDirectDraw4::SetDisplayMode(std::uint32_t width, std::uint32_t height,
                                        std::uint32_t bpp, std::uint32_t, std::uint32_t) {
  if (width != SCREEN_WIDTH || height != SCREEN_HEIGHT || bpp != 16) return DDERR_INVALIDPARAMS;
  return DD_OK;
}

HRESULT SoftDirectDraw4::CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface4** out,
                                       void* outer) {
  if (out) *out = nullptr;
  if (!desc || !out || outer || desc->dwSize != DDSURFACEDESC2_SIZE || !(desc->dwFlags & DDSD_CAPS))
    return DDERR_INVALIDPARAMS;
  try {
    if (desc->ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE) return Create_Primary(*desc, out);
    return Create_Plain(*desc, out);
  } catch (const std::bad_alloc&) {
    return DDERR_OUTOFMEMORY;
  }
}

HRESULT SoftDirectDraw4::Create_Primary(const DDSURFACEDESC2& desc, IDirectDrawSurface4** out) {
  const std::uint32_t flip = DDSCAPS_FLIP | DDSCAPS_COMPLEX;
  if ((desc.ddsCaps.dwCaps & flip) != flip || !(desc.dwFlags & DDSD_BACKBUFFERCOUNT) ||
      desc.dwBackBufferCount != 1)
    return DDERR_INVALIDPARAMS;  // only the one flipping pair is offered
  if (os_->Primary()) return DDERR_GENERIC;
  auto* front = new SoftSurface(os_, SCREEN_WIDTH, SCREEN_HEIGHT);
  front->Attach_Back(new SoftSurface(os_, SCREEN_WIDTH, SCREEN_HEIGHT));
  os_->Set_Primary(front);
  *out = front;
  return DD_OK;
}

HRESULT SoftDirectDraw4::Create_Plain(const DDSURFACEDESC2& desc, IDirectDrawSurface4** out) {
  const std::uint32_t sized = DDSD_WIDTH | DDSD_HEIGHT;
  if ((desc.dwFlags & sized) != sized) return DDERR_INVALIDPARAMS;
  const std::int64_t w = desc.dwWidth, h = desc.dwHeight;
  if (w < 1 || h < 1 || w > MAX_SIDE || h > MAX_SIDE || w * h > MAX_PIXELS)
    return DDERR_INVALIDPARAMS;
  *out = new SoftSurface(os_, static_cast<int>(w), static_cast<int>(h));
  return DD_OK;
}

HRESULT SoftDirectDraw4::CreateClipper(std::uint32_t flags, IDirectDrawClipper** out, void* outer) {
  if (out) *out = nullptr;
  if (!out || outer || flags != 0) return DDERR_INVALIDPARAMS;
  *out = new SoftClipper();
  return DD_OK;
}

HRESULT SoftOs::DirectDrawCreate(const GUID* device, IDirectDraw** out, void* outer) {
  if (out) *out = nullptr;
  if (!out || outer || device) return DDERR_INVALIDPARAMS;  // only the default display
  *out = new SoftDirectDraw(this);
  return DD_OK;
}

}  // namespace plat::soft
