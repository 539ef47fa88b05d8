// Holds presentation to at most one frame per period, however fast the display refreshes.
#pragma once

#include <cstdint>
#include <functional>

namespace plat::soft {

class FramePacer {
 public:
  using Clock = std::function<std::int64_t()>;         // nanoseconds, monotonic
  using Sleep = std::function<void(std::int64_t ns)>;  // sleeps about that long

  // Live clock and sleep by default.
  explicit FramePacer(std::int64_t period_ns = 1'000'000'000 / 60, Clock clock = {},
                      Sleep sleep = {});
  // Returns when the next frame may be shown. Deadlines advance by whole periods so the long-run
  // rate stays exact; after a stall of more than a period it starts afresh instead of rushing.
  void Wait();

 private:
  std::int64_t period_;
  Clock clock_;
  Sleep sleep_;
  std::int64_t deadline_ = -1;
};

}  // namespace plat::soft
