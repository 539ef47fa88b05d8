// Sprite sheets, the colour-keyed blitter and text.
#pragma once

#include <cstdint>

#include "platform/ddraw.h"

namespace zorvex {

plat::IDirectDrawSurface4* Load_Bitmap_Surface(const char* file_name);
int Blit_Sprite(plat::IDirectDrawSurface4* dest, std::int32_t x, std::int32_t y, std::int32_t w,
                std::int32_t h, std::int32_t sx, std::int32_t sy,
                plat::IDirectDrawSurface4* source);
int Print_Text(const char* text, std::int32_t x, std::int32_t y, plat::COLORREF colour,
               plat::IDirectDrawSurface4* surface);

}  // namespace zorvex
