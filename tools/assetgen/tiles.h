// The background tiles of gfx.bmp: columns 0 and 64, rows 0, 64 and 128, 64 x 64 each.
#pragma once

#include "tools/assetgen/image.h"

namespace assetgen {

void Draw_Tiles(Image* img);

}  // namespace assetgen
