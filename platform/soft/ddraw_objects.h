// The soft DirectDraw objects: the device, clippers and in-memory surfaces.
#pragma once

#include <string>
#include <vector>

#include "platform/ddraw.h"
#include "platform/soft/counted.h"
#include "platform/soft/surface.h"

namespace plat::soft {

class SoftOs;

class SoftClipper final : public Counted<IDirectDrawClipper> {
 public:
  HRESULT SetClipList(const RGNDATA* region, std::uint32_t flags) override;
  bool Has_List() const { return has_list_; }
  const std::vector<Box>& Rects() const { return rects_; }

 private:
  bool has_list_ = false;
  std::vector<Box> rects_;
};

class SoftSurface final : public Counted<IDirectDrawSurface4> {
 public:
  SoftSurface(SoftOs* os, int width, int height);
  HRESULT Blt(const RECT* dst, IDirectDrawSurface4* src, const RECT* src_rect, std::uint32_t flags,
              const DDBLTFX* fx) override;
  HRESULT Flip(IDirectDrawSurface4* target, std::uint32_t flags) override;
  HRESULT GetAttachedSurface(const DDSCAPS2* caps, IDirectDrawSurface4** out) override;
  HRESULT SetClipper(IDirectDrawClipper* clipper) override;
  HRESULT SetColorKey(std::uint32_t flags, const DDCOLORKEY* key) override;
  HRESULT GetDC(HDC* out) override;
  HRESULT ReleaseDC(HDC dc) override;
  HRESULT Lock(RECT* rect, DDSURFACEDESC2* desc, std::uint32_t flags, HANDLE event) override;
  HRESULT Unlock(RECT* rect) override;

  void Attach_Back(SoftSurface* back) { back_ = back; }
  Pixels& pixels() { return pixels_; }
  SoftClipper* Clipper() const { return clipper_; }

 private:
  ~SoftSurface() override;
  template <typename Fn>
  HRESULT Each_Visible_Part(const Box& dst, Fn fn);

  SoftOs* os_;
  Pixels pixels_;
  SoftSurface* back_ = nullptr;  // the primary holds its back buffer
  SoftClipper* clipper_ = nullptr;
  bool keyed_ = false;
  std::uint16_t key_ = 0;
  HDC dc_ = nullptr;
  bool locked_ = false;
};

class SoftDirectDraw4 final : public Counted<IDirectDraw4> {
 public:
  explicit SoftDirectDraw4(SoftOs* os) : os_(os) {}
  HRESULT SetCooperativeLevel(HWND window, std::uint32_t flags) override;
  HRESULT SetDisplayMode(std::uint32_t width, std::uint32_t height, std::uint32_t bpp,
                         std::uint32_t refresh, std::uint32_t flags) override;
  HRESULT CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface4** out, void* outer) override;
  HRESULT CreateClipper(std::uint32_t flags, IDirectDrawClipper** out, void* outer) override;

 private:
  HRESULT Create_Primary(const DDSURFACEDESC2& desc, IDirectDrawSurface4** out);
  HRESULT Create_Plain(const DDSURFACEDESC2& desc, IDirectDrawSurface4** out);
  SoftOs* os_;
};

class SoftDirectDraw final : public Counted<IDirectDraw> {
 public:
  explicit SoftDirectDraw(SoftOs* os) : os_(os) {}
  HRESULT QueryInterface(const GUID& iid, void** out) override;

 private:
  SoftOs* os_;
};

}  // namespace plat::soft
