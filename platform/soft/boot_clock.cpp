#include "platform/soft/boot_clock.h"

#include <chrono>
#include <ctime>

namespace plat::soft {

std::uint32_t Boot_Ticks() {
#ifdef CLOCK_BOOTTIME
  timespec now{};
  if (clock_gettime(CLOCK_BOOTTIME, &now) == 0) {
    auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
              static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
  }
#endif
  // Elsewhere the steady clock is the nearest thing: on most systems it also counts from boot.
  auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

}  // namespace plat::soft
