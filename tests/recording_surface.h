// A surface that records every blit made on it. Over a real surface it passes every call on;
// alone it answers as a stub, and the blits numbered fail_from up to fail_to fail.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/ddraw.h"

namespace zorvex::testing {

struct Blit {
  std::int32_t x, y, w, h, sx, sy;
  const plat::IDirectDrawSurface4* source;  // null: a colour fill
  std::uint32_t colour = 0;
  bool operator==(const Blit&) const = default;
};

class RecordingSurface final : public plat::IDirectDrawSurface4 {
 public:
  explicit RecordingSurface(plat::IDirectDrawSurface4* real = nullptr) : real_(real) {}
  std::vector<Blit> blits;
  std::size_t fail_from = SIZE_MAX;
  std::size_t fail_to = SIZE_MAX;

  plat::HRESULT Blt(const plat::RECT* dst, plat::IDirectDrawSurface4* src, const plat::RECT* from,
                    std::uint32_t flags, const plat::DDBLTFX* fx) override {
    const plat::RECT d = dst ? *dst : plat::RECT{0, 0, 640, 480};
    const bool fail = blits.size() >= fail_from && blits.size() < fail_to;
    blits.push_back(Blit{d.left, d.top, d.right - d.left, d.bottom - d.top, from ? from->left : 0,
                         from ? from->top : 0, src, fx ? fx->dwFillColor : 0});
    if (real_) return real_->Blt(dst, src, from, flags, fx);
    return fail ? plat::DDERR_SURFACELOST : plat::DD_OK;
  }
  plat::HRESULT Flip(plat::IDirectDrawSurface4* t, std::uint32_t f) override {
    return real_ ? real_->Flip(t, f) : 0;
  }
  plat::HRESULT GetAttachedSurface(const plat::DDSCAPS2* c,
                                   plat::IDirectDrawSurface4** o) override {
    return real_ ? real_->GetAttachedSurface(c, o) : plat::DDERR_GENERIC;
  }
  plat::HRESULT SetClipper(plat::IDirectDrawClipper* c) override {
    return real_ ? real_->SetClipper(c) : 0;
  }
  plat::HRESULT SetColorKey(std::uint32_t f, const plat::DDCOLORKEY* k) override {
    return real_ ? real_->SetColorKey(f, k) : 0;
  }
  plat::HRESULT GetDC(plat::HDC* o) override {
    return real_ ? real_->GetDC(o) : plat::DDERR_GENERIC;
  }
  plat::HRESULT ReleaseDC(plat::HDC dc) override { return real_ ? real_->ReleaseDC(dc) : 0; }
  plat::HRESULT Lock(plat::RECT* r, plat::DDSURFACEDESC2* d, std::uint32_t f,
                     plat::HANDLE e) override {
    return real_ ? real_->Lock(r, d, f, e) : plat::DDERR_GENERIC;
  }
  plat::HRESULT Unlock(plat::RECT* r) override {
    return real_ ? real_->Unlock(r) : plat::DDERR_NOTLOCKED;
  }
  std::uint32_t Release() override { return 0; }  // held by the test, not by a count

 private:
  plat::IDirectDrawSurface4* real_;
};

}  // namespace zorvex::testing
