// One line of anti-aliased text on a 5-6-5 pixel store.
#pragma once

#include "platform/soft/surface.h"

namespace plat::soft {

// (x, y) is the top-left of the line; the background is left as it is; characters outside
// printable ASCII draw nothing and take no room. Clipped to the store.
void Draw_Text(Pixels* dst, int x, int y, const char* text, int length, COLORREF colour);
// The width in pixels Draw_Text would take.
int Text_Width(const char* text, int length);

}  // namespace plat::soft
