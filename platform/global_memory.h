// The memory blocks of GlobalAlloc and GlobalFree (seam calls, platform/os.h), which the WAV
// reader hands out.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plat {

using HGLOBAL = void*;

// The only kind of block asked for: fixed, so the handle is the block's address.
constexpr std::uint32_t GMEM_FIXED = 0x0000;

}  // namespace plat
