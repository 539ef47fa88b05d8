// A portable GlobalAlloc / GlobalFree for the blocks the WAV reader hands out.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plat {

using HGLOBAL = void*;

constexpr std::uint32_t GMEM_FIXED = 0x0000;

// A fixed block of `bytes` bytes (a zero-size request still gives a block of its own), or null.
HGLOBAL GlobalAlloc(std::uint32_t flags, std::size_t bytes);
// Null when the block was freed (null itself is accepted), as the system call answers.
HGLOBAL GlobalFree(HGLOBAL block);

// For tests: the blocks allocated and not yet freed.
int Global_Live_Blocks();
// For tests: let `successes` more allocations through, then fail the next one (once).
// A negative count turns the planned failure off.
void Fail_Global_Alloc_After(int successes);

}  // namespace plat
