// Display start-up, the back buffer, clipping and page flipping.
#pragma once

#include <cstdint>

#include "platform/ddraw.h"

namespace zorvex {

constexpr std::uint32_t SCREEN_BPP = 16;

extern plat::IDirectDraw4* lpdd;
extern plat::IDirectDrawSurface4* lpddsfront;
extern plat::IDirectDrawSurface4* lpddsback;
extern plat::IDirectDrawClipper* lpddclipper;
extern plat::IDirectDrawSurface4* lpddsgfx;
extern plat::IDirectDrawSurface4* lpddssys;

// The display, its two pages and the two sprite sheets; 0 (and the reason remembered) on failure.
int Init_Display();
plat::IDirectDrawSurface4* Create_Offscreen(std::int32_t width, std::int32_t height);
plat::IDirectDrawClipper* Attach_Clipper(plat::IDirectDrawSurface4* surface, std::int32_t count,
                                         const plat::RECT* rects);
// The clip region record for a list of rectangles: a 32-byte header, then the rectangles.
// Allocated with malloc; null for a negative count or no memory.
plat::RGNDATA* Build_Clip_Region(std::int32_t count, const plat::RECT* rects);
int Clear_Surface(plat::IDirectDrawSurface4* surface, std::uint32_t colour);
int Flip_Pages();
// Releases the back buffer's clipper, which shutdown leaves to the process's end; for hosts
// that run the game several times in one process.
void Release_Clipper();

}  // namespace zorvex
