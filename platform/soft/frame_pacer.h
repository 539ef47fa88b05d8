// Holds presentation to at most one frame per period, however fast the display refreshes.
#pragma once

#include <cstdint>
#include <functional>

namespace plat::soft {

class FramePacer {
 public:
  using Clock = std::function<std::int64_t()>;               // nanoseconds, monotonic
  using Sleep_Until = std::function<void(std::int64_t ns)>;  // returns at or after that time

  // Live clock and sleep by default.
  explicit FramePacer(std::int64_t period_ns = 1'000'000'000 / 60, Clock clock = {},
                      Sleep_Until sleep_until = {});
  // Returns when the next frame may be shown. Deadlines advance by whole periods so the long-run
  // rate stays exact; after a stall of more than a period it starts afresh instead of rushing.
  // One sleep to the deadline, never a spin: a sleep that wakes late costs that frame a little
  // of its slot, and the next deadline still falls where it would have.
  void Wait();

 private:
  std::int64_t period_;
  Clock clock_;
  Sleep_Until sleep_until_;
  std::int64_t deadline_ = -1;
};

}  // namespace plat::soft
