// The soft backend's GDI: bitmaps loaded from files, memory and surface device contexts, the
// copy of a bitmap onto a surface, and text.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/data_path.h"
#include "platform/soft/ddraw_objects.h"
#include "platform/soft/soft_os_impl.h"
#include "platform/soft/text.h"

namespace plat::soft {

namespace {
constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;
constexpr int OPAQUE = 2;
constexpr int STOCK_OBJECTS = 20;
}  // namespace

HGDIOBJ SoftOs::Add_Object(std::unique_ptr<GdiObject> object) {
  auto handle = reinterpret_cast<HGDIOBJ>(object.get());
  objects_[object.get()] = std::move(object);
  return handle;
}

HDC SoftOs::Add_Dc(std::unique_ptr<DeviceContext> dc) {
  auto handle = reinterpret_cast<HDC>(dc.get());
  dc->selected = stock_bitmap_;
  dcs_[dc.get()] = std::move(dc);
  return handle;
}

GdiObject* SoftOs::Find_Object(HGDIOBJ handle) {
  auto it = objects_.find(handle);
  return it == objects_.end() ? nullptr : it->second.get();
}

DeviceContext* SoftOs::Find_Dc(HDC handle) {
  auto it = dcs_.find(handle);
  return it == dcs_.end() ? nullptr : it->second.get();
}

bool SoftOs::Selected_Anywhere(const GdiObject* object) const {
  return std::any_of(dcs_.begin(), dcs_.end(),
                     [&](const auto& entry) { return entry.second->selected == object; });
}

HDC SoftOs::Open_Surface_Dc(SoftSurface* surface) {
  auto dc = std::make_unique<DeviceContext>();
  dc->kind = DeviceContext::SURFACE_DC;
  dc->surface = surface;
  return Add_Dc(std::move(dc));
}

void SoftOs::Close_Dc(HDC dc) { dcs_.erase(dc); }

HGDIOBJ SoftOs::GetStockObject(int which) {
  if (which < 0 || which >= STOCK_OBJECTS) return nullptr;
  HGDIOBJ& slot = stock_[which];
  if (!slot) {
    auto object = std::make_unique<GdiObject>();
    object->kind = GdiObject::STOCK_OBJECT;
    object->stock = true;
    slot = Add_Object(std::move(object));
  }
  return slot;
}

HICON SoftOs::LoadIconA(HINSTANCE, std::uintptr_t) { return GetStockObject(STOCK_OBJECTS - 1); }

HCURSOR SoftOs::LoadCursorA(HINSTANCE, std::uintptr_t) { return GetStockObject(STOCK_OBJECTS - 2); }

HGDIOBJ SoftOs::LoadImageA(HINSTANCE, const char* name, std::uint32_t type, int, int,
                           std::uint32_t flags) {
  // Only bitmap files: there are no resources to load from.
  if (!name || type != IMAGE_BITMAP || !(flags & LR_LOADFROMFILE)) return nullptr;
  auto object = std::make_unique<GdiObject>();
  std::string why;
  if (!Load_Bmp_File(Data_Path(name), &object->bitmap, &why)) {
    if (std::getenv("ZORVEX_DEBUG_OUTPUT"))
      std::fprintf(stderr, "LoadImageA %s: %s\n", name, why.c_str());
    return nullptr;
  }
  return Add_Object(std::move(object));
}

int SoftOs::GetObjectA(HGDIOBJ handle, int size, void* out) {
  GdiObject* object = Find_Object(handle);
  if (!object || object->kind != GdiObject::BITMAP_OBJECT) return 0;
  if (!out) return sizeof(BITMAP);
  if (size < static_cast<int>(sizeof(BITMAP))) return 0;
  Bitmap& b = object->bitmap;
  *static_cast<BITMAP*>(out) = {.bmType = 0,
                                .bmWidth = b.width,
                                .bmHeight = b.height,
                                .bmWidthBytes = b.width * 4,
                                .bmPlanes = 1,
                                .bmBitsPixel = 32,
                                .bmBits = b.pixels.data()};
  return sizeof(BITMAP);
}

HDC SoftOs::CreateCompatibleDC(HDC reference) {
  if (reference && !Find_Dc(reference)) return nullptr;
  return Add_Dc(std::make_unique<DeviceContext>());
}

HGDIOBJ SoftOs::SelectObject(HDC handle, HGDIOBJ object_handle) {
  DeviceContext* dc = Find_Dc(handle);
  GdiObject* object = Find_Object(object_handle);
  if (!dc || !object) return nullptr;
  if (object->kind != GdiObject::BITMAP_OBJECT)
    return object_handle;                                    // brushes and such change nothing
  if (dc->kind != DeviceContext::MEMORY_DC) return nullptr;  // only memory DCs take bitmaps
  if (object != dc->selected && !object->stock && Selected_Anywhere(object))
    return nullptr;  // a bitmap sits in one DC at a time
  GdiObject* previous = dc->selected;
  dc->selected = object;
  return reinterpret_cast<HGDIOBJ>(previous);
}

bool SoftOs::BitBlt(HDC dst_handle, int x, int y, int w, int h, HDC src_handle, int sx, int sy,
                    std::uint32_t rop) {
  DeviceContext* dst = Find_Dc(dst_handle);
  DeviceContext* src = Find_Dc(src_handle);
  if (!dst || !src || rop != SRCCOPY || w < 0 || h < 0) return false;
  if (dst->kind != DeviceContext::SURFACE_DC || src->kind != DeviceContext::MEMORY_DC) return false;
  Pixels& to = dst->surface->pixels();
  const Bitmap& from = src->selected->bitmap;
  // Keep to the part that lies on both the bitmap and the surface.
  const std::int64_t x0 = std::max<std::int64_t>({0, x, std::int64_t{x} - sx});
  const std::int64_t y0 = std::max<std::int64_t>({0, y, std::int64_t{y} - sy});
  const std::int64_t x1 =
      std::min<std::int64_t>({to.width, std::int64_t{x} + w, std::int64_t{x} - sx + from.width});
  const std::int64_t y1 =
      std::min<std::int64_t>({to.height, std::int64_t{y} + h, std::int64_t{y} - sy + from.height});
  for (std::int64_t ty = y0; ty < y1; ++ty) {
    const std::uint32_t* in = from.pixels.data() + (ty - y + sy) * from.width + (x0 - x + sx);
    std::uint16_t* out = to.Row(static_cast<int>(ty));
    for (std::int64_t tx = x0; tx < x1; ++tx) out[tx] = To_565(*in++);
  }
  return true;
}

bool SoftOs::DeleteDC(HDC handle) {
  DeviceContext* dc = Find_Dc(handle);
  if (!dc || dc->kind != DeviceContext::MEMORY_DC)
    return false;  // surface DCs go back by ReleaseDC
  Close_Dc(handle);
  return true;
}

bool SoftOs::DeleteObject(HGDIOBJ handle) {
  GdiObject* object = Find_Object(handle);
  if (!object) return false;
  if (object->stock) return true;  // stock objects outlive everything
  if (Selected_Anywhere(object)) return false;
  objects_.erase(handle);
  return true;
}

COLORREF SoftOs::SetTextColor(HDC handle, COLORREF colour) {
  DeviceContext* dc = Find_Dc(handle);
  if (!dc) return CLR_INVALID;
  COLORREF previous = dc->text_colour;
  dc->text_colour = colour & 0x00FFFFFF;
  return previous;
}

int SoftOs::SetBkMode(HDC handle, int mode) {
  DeviceContext* dc = Find_Dc(handle);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  int previous = dc->bk_mode;
  dc->bk_mode = mode;
  return previous;
}

bool SoftOs::TextOutA(HDC handle, int x, int y, const char* text, int length) {
  DeviceContext* dc = Find_Dc(handle);
  if (!dc || length < 0 || (length > 0 && !text)) return false;
  if (dc->kind != DeviceContext::SURFACE_DC) return true;  // nothing to draw on: drawn nowhere
  // Cells are never filled: the game only draws with a transparent background.
  Draw_Text(&dc->surface->pixels(), x, y, text, length, dc->text_colour);
  return true;
}

}  // namespace plat::soft
