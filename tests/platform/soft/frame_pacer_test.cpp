#include "platform/soft/frame_pacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace zorvex::testing {
namespace {

using plat::soft::FramePacer;

// A fake clock that the pacer's sleeps move: a sleep wakes `late` after it was due, a yield
// costs 20 us.
struct FakeClock {
  std::int64_t now = 1'000'000;
  std::int64_t late = 0;
  std::int64_t yielding = 0;  // time spent in yields since the last look
  int sleeps = 0;
  FramePacer Pacer() {
    return FramePacer(
        16'666'667, [this] { return now; },
        [this](std::int64_t ns) {
          if (ns > 0) {
            ++sleeps;
            now += ns + late;
          } else {
            now += 20'000;
            yielding += 20'000;
          }
        });
  }
};

TEST(FramePacer, HoldsSixtyFramesASecondWhateverTheWork) {
  for (std::int64_t late : {0, 1'500'000}) {
    FakeClock t;
    t.late = late;
    FramePacer pacer = t.Pacer();
    std::vector<std::int64_t> shown;
    for (int frame = 0; frame < 601; ++frame) {
      t.now += (frame % 7) * 1'000'000;  // uneven frame work, always under a period
      pacer.Wait();
      shown.push_back(t.now);
    }
    const double seconds = (shown.back() - shown.front()) / 1e9;
    EXPECT_NEAR(600 / seconds, 60.0, 0.05) << "late " << late;
    for (std::size_t i = 1; i < shown.size(); ++i)
      EXPECT_GE(shown[i] - shown[i - 1], 16'000'000) << "never faster than the period";
    EXPECT_GT(t.sleeps, 500) << "waits by sleeping, not spinning a whole frame";
  }
}

TEST(FramePacer, AStallDoesNotCauseABurst) {
  FakeClock t;
  FramePacer pacer = t.Pacer();
  pacer.Wait();
  t.now += 500'000'000;  // half a second lost, as when the window was dragged
  pacer.Wait();
  const std::int64_t after_stall = t.now;
  pacer.Wait();
  EXPECT_GE(t.now - after_stall, 16'000'000);
}

TEST(FramePacer, SpinsLittleWhenSleepsArePunctualAndWidensItsMarginWhenTheyAreNot) {
  FakeClock c;
  c.late = 60'000;  // a typical timer slack
  FramePacer pacer = c.Pacer();
  for (int frame = 0; frame < 120; ++frame) pacer.Wait();
  c.yielding = 0;
  std::int64_t before = c.now;
  for (int frame = 0; frame < 60; ++frame) pacer.Wait();
  EXPECT_LT(c.yielding, (c.now - before) / 50) << "under 2% of the time yielding";
  EXPECT_LE(pacer.Margin(), 300'000);

  // The system gets sluggish: one late frame at most, then the margin covers it again.
  c.late = 1'500'000;
  int late_frames = 0;
  for (int frame = 0; frame < 60; ++frame) {
    before = c.now;
    pacer.Wait();
    late_frames += c.now - before > 16'666'667 + 100'000;
  }
  EXPECT_LE(late_frames, 1);
  EXPECT_GE(pacer.Margin(), 1'500'000);
}

}  // namespace
}  // namespace zorvex::testing
