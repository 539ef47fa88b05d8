#include "platform/global_memory.h"

#include <atomic>
#include <cstdlib>

namespace plat {

namespace {
std::atomic<int> live_blocks{0};
std::atomic<int> allocs_before_failure{-1};

// True when the planned failure is due now.
bool Planned_Failure() {
  int left = allocs_before_failure.load();
  while (left >= 0) {
    if (allocs_before_failure.compare_exchange_weak(left, left - 1)) return left == 0;
  }
  return false;
}
}  // namespace

HGLOBAL GlobalAlloc(std::uint32_t flags, std::size_t bytes) {
  if (flags != GMEM_FIXED) return nullptr;  // movable blocks are never asked for
  if (Planned_Failure()) return nullptr;
  void* block = std::malloc(bytes ? bytes : 1);
  if (block) ++live_blocks;
  return block;
}

HGLOBAL GlobalFree(HGLOBAL block) {
  if (!block) return nullptr;
  std::free(block);
  --live_blocks;
  return nullptr;
}

int Global_Live_Blocks() { return live_blocks.load(); }

void Fail_Global_Alloc_After(int successes) {
  allocs_before_failure = successes < 0 ? -1 : successes;
}

}  // namespace plat
