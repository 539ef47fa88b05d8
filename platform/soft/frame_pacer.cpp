#include "platform/soft/frame_pacer.h"

#include <chrono>
#include <thread>

namespace plat::soft {

namespace {
// The OS may oversleep by about this much; the rest of the wait is spent yielding.
constexpr std::int64_t kSpinMarginNs = 2'000'000;
}  // namespace

FramePacer::FramePacer(std::int64_t period_ns, Clock clock, Sleep sleep)
    : period_(period_ns), clock_(std::move(clock)), sleep_(std::move(sleep)) {
  if (!clock_) {
    clock_ = [] {
      return std::chrono::duration_cast<std::chrono::nanoseconds>(
                 std::chrono::steady_clock::now().time_since_epoch())
          .count();
    };
  }
  if (!sleep_) {
    sleep_ = [](std::int64_t ns) {
      if (ns > 0)
        std::this_thread::sleep_for(std::chrono::nanoseconds(ns));
      else
        std::this_thread::yield();
    };
  }
}

void FramePacer::Wait() {
  std::int64_t now = clock_();
  if (deadline_ < 0 || now - deadline_ > period_) {
    deadline_ = now + period_;  // first frame, or far behind: no catching up
    return;
  }
  if (now < deadline_ - kSpinMarginNs) sleep_(deadline_ - kSpinMarginNs - now);
  while ((now = clock_()) < deadline_) sleep_(0);
  deadline_ += period_;
}

}  // namespace plat::soft
