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
  // It sleeps until a margin before the deadline and yields through the rest; the margin
  // follows how late the sleeps actually wake, so a punctual system spins very little.
  void Wait();
  std::int64_t Margin() const { return margin_; }

 private:
  void Learn_Oversleep(std::int64_t late_ns);

  std::int64_t period_;
  Clock clock_;
  Sleep sleep_;
  std::int64_t deadline_ = -1;
  std::int64_t margin_;
};

}  // namespace plat::soft
