// The program's icon.
#pragma once

#include <cstdint>
#include <vector>

namespace assetgen {

// `size` x `size` RGBA pixels, top row first, with straight (not premultiplied) alpha.
std::vector<std::uint8_t> Draw_Icon(int size);

// The sizes installed into the desktop's icon theme.
constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};  // as ZORVEX_ICON_SIZES in CMake

}  // namespace assetgen
