// Sprite sheets, the colour-keyed blitter and text: every picture and word on screen comes
// through here.
#include "gfx/sprites.h"

#include <cstdio>
#include <cstring>

#include "core/log.h"
#include "gfx/display.h"
#include "platform/os.h"

namespace zorvex {

using namespace plat;

namespace {

constexpr COLORREF BLIT_ERROR_COLOUR = 255;  // pure red

// Appends printf-style text to a fixed buffer without ever running past its end.
void Append(char* buffer, std::size_t size, const char* format, std::int32_t value) {
  std::size_t used = std::strlen(buffer);
  if (used + 1 >= size) return;
  std::snprintf(buffer + used, size - used, format, static_cast<int>(value));
}

// What a sheet load has made so far, so that a failed load leaves nothing behind.
struct SheetLoad {
  HGDIOBJ bitmap = nullptr;
  HDC memory_dc = nullptr;
  HGDIOBJ old_bitmap = nullptr;
  IDirectDrawSurface4* surface = nullptr;

  IDirectDrawSurface4* Fail(const char* message) {
    if (message) Log_Error("%s", message);
    if (memory_dc && old_bitmap) SelectObject(memory_dc, old_bitmap);
    if (memory_dc) DeleteDC(memory_dc);
    if (bitmap) DeleteObject(bitmap);
    if (surface) surface->Release();
    return nullptr;
  }
};

// Copies the picture onto the sheet surface through two device contexts.
IDirectDrawSurface4* Copy_Bitmap_To_Surface(SheetLoad& load, const BITMAP& info) {
  load.memory_dc = CreateCompatibleDC(nullptr);
  if (!load.memory_dc) return load.Fail(nullptr);
  load.old_bitmap = SelectObject(load.memory_dc, load.bitmap);
  if (!load.old_bitmap) return load.Fail("!oldBitmap");
  HDC surface_dc = nullptr;
  if (load.surface->GetDC(&surface_dc) < 0) return load.Fail("Could not GetDC");
  if (!BitBlt(surface_dc, 0, 0, info.bmWidth, info.bmHeight, load.memory_dc, 0, 0, SRCCOPY)) {
    load.surface->ReleaseDC(surface_dc);
    return load.Fail("Could not BitBlt onto the DirectDrawSurface");
  }
  if (load.surface->ReleaseDC(surface_dc) < 0) return load.Fail("Could not Release DC");
  if (!SelectObject(load.memory_dc, load.old_bitmap)) {
    return load.Fail("Could not put old contents of the DC back");
  }
  load.old_bitmap = nullptr;
  if (!DeleteDC(load.memory_dc)) return load.Fail("Could not delete DC");
  load.memory_dc = nullptr;
  if (!DeleteObject(load.bitmap)) return load.Fail("Could not free bitmap handle");
  return load.surface;
}

}  // namespace

IDirectDrawSurface4* Load_Bitmap_Surface(const char* file_name) {
  SheetLoad load;
  load.bitmap =
      LoadImageA(nullptr, file_name, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
  if (!load.bitmap) {
    Log_Error("!handle");
    return nullptr;
  }
  BITMAP info{};
  if (!GetObjectA(load.bitmap, sizeof(info), &info)) return load.Fail("!GetObject");
  // Every later step draws onto the surface, so a sheet that could not be made stops here.
  load.surface = Create_Offscreen(info.bmWidth, info.bmHeight);
  if (!load.surface) return load.Fail(nullptr);
  return Copy_Bitmap_To_Surface(load, info);
}

int Blit_Sprite(IDirectDrawSurface4* dest, std::int32_t x, std::int32_t y, std::int32_t w,
                std::int32_t h, std::int32_t sx, std::int32_t sy, IDirectDrawSurface4* source) {
  RECT dest_rect{x, y, x + w, y + h};
  RECT source_rect{sx, sy, sx + w, sy + h};
  HRESULT result =
      dest ? dest->Blt(&dest_rect, source, &source_rect, DDBLT_KEYSRC | DDBLT_WAIT, nullptr)
           : DDERR_INVALIDPARAMS;
  if (result >= 0) return 1;

  // The screen gets the code alone; the log gets the whole draw.
  char text[160] = "\nBlt Failed: ";
  Append(text, sizeof(text), "%d", result);
  Print_Text(text, 0, 430, BLIT_ERROR_COLOUR, lpddsback);
  Append(text, sizeof(text), " x: %d", x);
  Append(text, sizeof(text), " y: %d", y);
  Append(text, sizeof(text), " w: %d", w);
  Append(text, sizeof(text), " h: %d", h);
  Append(text, sizeof(text), " sx: %d", sx);
  Append(text, sizeof(text), " sy: %d", sy);
  Log_Error("%s", text);
  return 0;
}

int Print_Text(const char* text, std::int32_t x, std::int32_t y, COLORREF colour,
               IDirectDrawSurface4* surface) {
  HDC dc = nullptr;
  if (!surface || surface->GetDC(&dc) != DD_OK) return 0;
  SetTextColor(dc, colour);
  SetBkMode(dc, TRANSPARENT);
  TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
  surface->ReleaseDC(dc);
  return 1;
}

}  // namespace zorvex
