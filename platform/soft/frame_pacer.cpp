#include "platform/soft/frame_pacer.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace plat::soft {

namespace {
// The margin starts cautious and settles a little above the worst recent oversleep: a sleep that
// wakes past the margin widens it at once, punctual ones narrow it slowly.
constexpr std::int64_t kStartMarginNs = 2'000'000;
constexpr std::int64_t kLeastMarginNs = 250'000;
constexpr std::int64_t kMostMarginNs = 4'000'000;
constexpr std::int64_t kMarginSlackNs = 150'000;
constexpr int kNarrowing = 16;  // a punctual sleep closes 1/16 of the gap
}  // namespace

FramePacer::FramePacer(std::int64_t period_ns, Clock clock, Sleep sleep)
    : period_(period_ns),
      clock_(std::move(clock)),
      sleep_(std::move(sleep)),
      margin_(kStartMarginNs) {
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
  const std::int64_t wake = deadline_ - margin_;
  if (now < wake) {
    sleep_(wake - now);
    Learn_Oversleep(clock_() - wake);
  }
  while ((now = clock_()) < deadline_) sleep_(0);
  deadline_ += period_;
}

void FramePacer::Learn_Oversleep(std::int64_t late_ns) {
  const std::int64_t wanted =
      std::clamp(late_ns + late_ns / 4 + kMarginSlackNs, kLeastMarginNs, kMostMarginNs);
  if (wanted > margin_)
    margin_ = wanted;
  else
    margin_ -= (margin_ - wanted) / kNarrowing;
}

}  // namespace plat::soft
