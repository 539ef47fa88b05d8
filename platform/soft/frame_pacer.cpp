#include "platform/soft/frame_pacer.h"

#include <algorithm>
#include <chrono>
#include <thread>

#if defined(__linux__)
#include <time.h>

#include <cerrno>
#endif

namespace plat::soft {

namespace {

std::int64_t Live_Now() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// An absolute deadline, so time spent between reading the clock and going to sleep is not
// slept again.
void Live_Sleep_Until(std::int64_t ns) {
#if defined(__linux__)
  // steady_clock is CLOCK_MONOTONIC here.
  timespec at{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
  }
#else
  std::this_thread::sleep_until(std::chrono::steady_clock::time_point(
      std::chrono::duration_cast<std::chrono::steady_clock::duration>(
          std::chrono::nanoseconds(ns))));
#endif
}

}  // namespace

FramePacer::FramePacer(std::int64_t period_ns, Clock clock, SleepUntil sleep_until)
    : period_(period_ns), clock_(std::move(clock)), sleep_until_(std::move(sleep_until)) {
  if (!clock_) clock_ = Live_Now;
  if (!sleep_until_) sleep_until_ = Live_Sleep_Until;
}

void FramePacer::Frame_Shown() {
  const std::int64_t now = clock_();
  // More than a period from wake to show is a stall (a pause, a dragged window), not a cost.
  if (wake_ >= 0 && now - wake_ <= period_) Learn(now - wake_);
  if (deadline_ < 0) {
    deadline_ = now + period_;  // the first frame
  } else {
    deadline_ += period_;
    if (deadline_ - margin_ <= now) deadline_ = now + period_;  // behind: no catching up
  }
  wake_ = deadline_ - margin_;
  if (now < wake_) sleep_until_(wake_);
}

void FramePacer::Learn(std::int64_t cost) {
  costs_[static_cast<std::size_t>(cost_next_)] = std::max<std::int64_t>(cost, 0);
  cost_next_ = (cost_next_ + 1) % COST_WINDOW;
  if (cost_count_ < COST_WINDOW) ++cost_count_;
  std::array<std::int64_t, COST_WINDOW> sorted = costs_;
  const auto end = sorted.begin() + cost_count_;
  const auto p99 = sorted.begin() + (cost_count_ * 99 + 99) / 100 - 1;
  std::nth_element(sorted.begin(), p99, end);
  margin_ = std::min(*p99 + SAFETY_NS, period_ / 2);
}

void FramePacer::Wait() {
  const std::int64_t now = clock_();
  if (deadline_ < 0 || now - deadline_ > period_) {
    deadline_ = now + period_;  // first frame, or far behind: no catching up
    return;
  }
  if (now < deadline_) sleep_until_(deadline_);
  deadline_ += period_;
}

}  // namespace plat::soft
