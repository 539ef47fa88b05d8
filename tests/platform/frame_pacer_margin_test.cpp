#include <gtest/gtest.h>

#include "platform/soft/frame_pacer.h"

namespace {

using plat::soft::FramePacer;

// A clock whose sleeps wake `late` after they were due; yields cost 20 us.
struct Clock {
  std::int64_t now = 5'000'000;
  std::int64_t late = 0;
  std::int64_t yielding = 0;  // time spent in yields since the last look
  FramePacer Pacer() {
    return FramePacer(
        16'666'667, [this] { return now; },
        [this](std::int64_t ns) {
          if (ns > 0) {
            now += ns + late;
          } else {
            now += 20'000;
            yielding += 20'000;
          }
        });
  }
};

TEST(FramePacerMargin, SpinsLittleWhenSleepsArePunctualAndWidensWhenTheyAreNot) {
  Clock c;
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
