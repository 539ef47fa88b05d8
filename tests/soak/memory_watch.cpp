#include "tests/soak/memory_watch.h"

#include <algorithm>
#include <cstring>

namespace zorvex::testing {

namespace {

double Status_Field_Mb(const char* key) {
  std::FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return 0;
  char line[256];
  double kb = 0;
  const std::size_t key_length = std::strlen(key);
  while (std::fgets(line, sizeof line, f)) {
    if (std::strncmp(line, key, key_length) == 0) {
      kb = std::strtod(line + key_length, nullptr);
      break;
    }
  }
  std::fclose(f);
  return kb / 1024.0;
}

double Largest(const auto& begin, const auto& end) {
  double most = 0;
  for (auto it = begin; it != end; ++it) most = std::max(most, it->rss_mb);
  return most;
}

}  // namespace

double Rss_Mb() { return Status_Field_Mb("VmRSS:"); }
double Peak_Rss_Mb() { return Status_Field_Mb("VmHWM:"); }

void Memory_Watch::Sample(std::uint64_t frame) { samples_.push_back({frame, Rss_Mb()}); }

bool Memory_Watch::Steady(double slack_mb) const {
  if (warm_up_samples_ == 0 || warm_up_samples_ >= samples_.size()) return true;
  const auto split = samples_.begin() + static_cast<std::ptrdiff_t>(warm_up_samples_);
  return Largest(split, samples_.end()) <= Largest(samples_.begin(), split) + slack_mb;
}

void Memory_Watch::Print_Summary(std::FILE* out) const {
  std::fprintf(out, "peak RSS %.1f MB; RSS (MB) by frame:", Peak_Rss_Mb());
  // Every sample would be thousands of numbers; a dozen evenly spread ones show the shape.
  const std::size_t step = std::max<std::size_t>(1, samples_.size() / 12);
  for (std::size_t i = 0; i < samples_.size(); i += step)
    std::fprintf(out, " %llu:%.1f", static_cast<unsigned long long>(samples_[i].frame),
                 samples_[i].rss_mb);
  if (!samples_.empty())
    std::fprintf(out, " %llu:%.1f", static_cast<unsigned long long>(samples_.back().frame),
                 samples_.back().rss_mb);
  std::fprintf(out, "\n");
  if (warm_up_samples_ > 0 && warm_up_samples_ < samples_.size()) {
    const auto split = samples_.begin() + static_cast<std::ptrdiff_t>(warm_up_samples_);
    std::fprintf(out, "largest RSS during warm-up %.1f MB, after it %.1f MB\n",
                 Largest(samples_.begin(), split), Largest(split, samples_.end()));
  }
}

}  // namespace zorvex::testing
