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

TEST(FramePacer, HoldsSixtyFramesASecondWithOneSleepAFrameAndNoBurstAfterAStall) {
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

    t.now += 500'000'000;  // half a second lost, as when the window was dragged
    pacer.Wait();
    const std::int64_t after_stall = t.now;
    pacer.Wait();
    EXPECT_GE(t.now - after_stall, 16'000'000) << "a stall causes no burst";
  }
}

TEST(FramePacer, JustInTimeWakesByTheLearnedMarginAndKeepsSixty) {
  FakeTime t;
  t.oversleep = 200'000;
  FramePacer pacer = t.Pacer();
  std::vector<std::int64_t> shown;
  // Frames of 1 to 2 ms; one in fifty takes 3 ms.
  auto cost = [](int frame) -> std::int64_t {
    return frame % 50 == 0 ? 3'000'000 : 1'000'000 + (frame % 5) * 250'000;
  };
  std::int64_t first_wake = -1;
  for (int frame = 0; frame < 601; ++frame) {
    if (frame == 1) first_wake = t.now;
    t.now += cost(frame);
    shown.push_back(t.now);
    pacer.Frame_Shown();
  }
  const double seconds = (shown.back() - shown.front()) / 1e9;
  EXPECT_NEAR(600 / seconds, 60.0, 0.05);
  EXPECT_EQ(t.sleeps, 601) << "one sleep a frame, no spinning";
  // The margin covers the slow frames and a late wake, with the safety on top.
  EXPECT_EQ(pacer.Margin(), 3'200'000 + FramePacer::SAFETY_NS);
  // Every frame after the first is shown before its deadline, on a grid of whole periods.
  for (std::size_t i = 1; i < shown.size(); ++i) {
    const std::int64_t deadline = first_wake - t.oversleep + FramePacer::FIRST_MARGIN_NS +
                                  static_cast<std::int64_t>(i - 1) * 16'666'667;
    EXPECT_LE(shown[i], deadline) << "frame " << i;
    EXPECT_GE(shown[i], deadline - 16'666'667 / 2) << "frame " << i;
  }
}

TEST(FramePacer, JustInTimeShowsAnOverrunLateOnceAndCatchesNothingUp) {
  FakeTime t;
  FramePacer pacer = t.Pacer();
  std::vector<std::int64_t> shown;
  for (int frame = 0; frame < 200; ++frame) {
    t.now += frame == 150 ? 8'000'000 : 1'000'000;  // one frame overruns its margin
    shown.push_back(t.now);
    pacer.Frame_Shown();
  }
  // The late frame is shown when it is done; the next one is back on the grid, so the pair
  // still spans two periods and nothing is shown twice as fast to make up.
  EXPECT_GT(shown[150] - shown[149], 16'666'667);
  EXPECT_NEAR(static_cast<double>(shown[151] - shown[149]), 2 * 16'666'667, 2);
  for (std::size_t i = 1; i < shown.size(); ++i)
    EXPECT_GE(shown[i] - shown[i - 1], 16'666'667 - 8'000'000) << "frame " << i;

  // Stalled for half a second (a dragged window): the deadlines start afresh, no burst, and
  // the stall is not learned as a frame's cost.
  const std::int64_t margin = pacer.Margin();
  t.now += 500'000'000;
  pacer.Frame_Shown();
  const std::int64_t after_stall = t.now;
  t.now += 1'000'000;
  pacer.Frame_Shown();
  EXPECT_GE(t.now - after_stall, 16'666'667 - margin);
  EXPECT_EQ(pacer.Margin(), margin);
}

TEST(FramePacer, JustInTimeMarginIsAtMostHalfAPeriod) {
  FakeTime t;
  FramePacer pacer = t.Pacer();
  for (int frame = 0; frame < 20; ++frame) {
    t.now += 12'000'000;
    pacer.Frame_Shown();
  }
  EXPECT_EQ(pacer.Margin(), 16'666'667 / 2);
}

}  // namespace
}  // namespace zorvex::testing
