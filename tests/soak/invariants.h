// What must hold after every frame of any game, however it is played.
#pragma once

#include <cstdint>
#include <cstdio>

namespace zorvex::testing {

class Invariants {
 public:
  void New_Game(std::uint32_t seed);
  // Looks at the game after frame `frame` of the current game; reports the first breach.
  void Check_Frame(std::uint64_t frame);
  bool Ok() const { return !broken_; }
  std::uint64_t Frames_Seen() const { return frames_; }
  void Print_Summary(std::FILE* out) const;

 private:
  void Breach(std::uint64_t frame, const char* what, long long value);

  std::uint32_t seed_ = 0;
  std::uint64_t frames_ = 0;
  bool broken_ = false;
  int last_mode_ = 0;
  std::int32_t last_score_ = 0;
  // Totals over every game, for the summary.
  std::uint64_t restarts_ = 0, level_starts_ = 0, mode_frames_[4] = {};
  std::int32_t best_score_ = 0, best_level_ = 0, last_level_ = 0;
  int most_balls_ = 0;
};

}  // namespace zorvex::testing
