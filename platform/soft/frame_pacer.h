// Holds presentation to at most one frame per period, however fast the display refreshes.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace plat::soft {

class FramePacer {
 public:
  using Clock = std::function<std::int64_t()>;              // nanoseconds, monotonic
  using SleepUntil = std::function<void(std::int64_t ns)>;  // returns at or after that time

  static constexpr int COST_WINDOW = 120;                     // the last two seconds of frames
  static constexpr std::int64_t SAFETY_NS = 1'000'000;        // over the frames' 99th percentile
  static constexpr std::int64_t FIRST_MARGIN_NS = 4'000'000;  // before any frame is measured

  // Live clock and sleep by default.
  explicit FramePacer(std::int64_t period_ns = 1'000'000'000 / 60, Clock clock = {},
                      SleepUntil sleep_until = {});

  // Just in time: called as soon as a frame is on screen. Sleeps until the next deadline less
  // the margin, so that the next frame reads its input as late as it safely can and is shown
  // as soon as it is drawn. The margin is the 99th percentile of the recent frames' cost (from
  // the planned wake to the show, a late wake included) plus SAFETY_NS, at most half a period.
  // A frame that overran its deadline has been shown late, once; when the next wake has
  // already passed, the deadlines start afresh from now instead of rushing a frame out.
  void Frame_Shown();

  // The older order, kept for comparison: called between drawing and showing, sleeps to the
  // deadline itself. Deadlines advance by whole periods so the long-run rate stays exact;
  // after a stall of more than a period it starts afresh instead of rushing.
  void Wait();

  std::int64_t Margin() const { return margin_; }

 private:
  void Learn(std::int64_t cost);

  std::int64_t period_;
  Clock clock_;
  SleepUntil sleep_until_;
  std::int64_t deadline_ = -1;
  std::int64_t wake_ = -1;  // when the current frame was meant to start
  std::int64_t margin_ = FIRST_MARGIN_NS;
  std::array<std::int64_t, COST_WINDOW> costs_{};
  int cost_count_ = 0;
  int cost_next_ = 0;
};

}  // namespace plat::soft
