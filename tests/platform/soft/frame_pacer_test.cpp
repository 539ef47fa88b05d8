#include "platform/soft/frame_pacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace zorvex::testing {
namespace {

using plat::soft::FramePacer;

// A fake clock that the pacer's sleeps move; a sleep may wake late like a real one.
struct FakeTime {
  std::int64_t now = 1'000'000;
  std::int64_t oversleep = 0;
  int sleeps = 0;
  FramePacer Pacer() {
    return FramePacer(
        16'666'667, [this] { return now; },
        [this](std::int64_t until) {
          ++sleeps;
          EXPECT_GT(until, now) << "sleeps only when the deadline is ahead";
          now = until + oversleep;
        });
  }
};

TEST(FramePacer, HoldsSixtyFramesASecondWithOneSleepAFrame) {
  for (std::int64_t oversleep : {0, 1'500'000}) {
    FakeTime t;
    t.oversleep = oversleep;
    FramePacer pacer = t.Pacer();
    std::vector<std::int64_t> shown;
    for (int frame = 0; frame < 601; ++frame) {
      t.now += (frame % 7) * 1'000'000;  // uneven frame work, always under a period
      pacer.Wait();
      shown.push_back(t.now);
    }
    const double seconds = (shown.back() - shown.front()) / 1e9;
    EXPECT_NEAR(600 / seconds, 60.0, 0.05) << "oversleep " << oversleep;
    for (std::size_t i = 1; i < shown.size(); ++i) {
      EXPECT_GE(shown[i] - shown[i - 1], 16'666'667 - oversleep) << "frame " << i;
    }
    EXPECT_EQ(t.sleeps, 600) << "one sleep a frame, no spinning";
  }
}

TEST(FramePacer, AStallDoesNotCauseABurst) {
  FakeTime t;
  FramePacer pacer = t.Pacer();
  pacer.Wait();
  t.now += 500'000'000;  // half a second lost, as when the window was dragged
  pacer.Wait();
  const std::int64_t after_stall = t.now;
  pacer.Wait();
  EXPECT_GE(t.now - after_stall, 16'000'000);
}

}  // namespace
}  // namespace zorvex::testing
