// The process's resident memory over a long run: samples, the peak, and whether it kept
// growing once the first games had loaded everything they load.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

namespace zorvex::testing {

class Memory_Watch {
 public:
  void Sample(std::uint64_t frame);
  void End_Warm_Up() { warm_up_samples_ = samples_.size(); }
  // True when no sample after the warm-up exceeds the warm-up's largest by `slack_mb`.
  bool Steady(double slack_mb) const;
  void Print_Summary(std::FILE* out) const;

 private:
  struct Point {
    std::uint64_t frame;
    double rss_mb;
  };
  std::vector<Point> samples_;
  std::size_t warm_up_samples_ = 0;
};

// Resident set now and its peak so far, in MB, from /proc/self/status (0 if unreadable).
double Rss_Mb();
double Peak_Rss_Mb();

}  // namespace zorvex::testing
