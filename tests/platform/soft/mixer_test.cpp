#include "platform/soft/mixer.h"

#include <gtest/gtest.h>

#include <vector>

namespace zorvex::testing {
namespace {

using namespace plat;
using namespace plat::soft;

TEST(Mixer, SaturatesInsteadOfWrapping) {
  for (std::int16_t value : {30000, -30000}) {
    const std::vector<std::int16_t> loud(20, value);
    Voice a{loud.data(), 10, 0, UNITY_GAIN, true}, b = a;
    Mixer m;
    m.Add(&a), m.Add(&b);
    std::int16_t out[20];
    m.Mix(out, 10);
    EXPECT_EQ(out[5], value > 0 ? 32767 : -32768);
  }
  // Hundredths of a decibel to a 16.16 gain, down to silence at the floor.
  EXPECT_EQ(Gain_From_Hundredths_Db(0), UNITY_GAIN);
  EXPECT_EQ(Gain_From_Hundredths_Db(-500), 36854);  // the music's -5 dB
  EXPECT_EQ(Gain_From_Hundredths_Db(-10000), 0);
}

TEST(Convert, EightBitMonoAtAQuarterRateFillsFourTimesTheFrames) {
  WAVEFORMATEX f{WAVE_FORMAT_PCM, 1, 11025, 11025, 1, 8, 0};
  ASSERT_TRUE(Playable_Format(f));
  const std::uint8_t bytes[] = {128 + 64, 128 + 64, 128 - 64, 128 - 64};
  auto out = Convert_To_Mix_Format(f, 11025, bytes, sizeof bytes);
  ASSERT_EQ(out.size(), 16u * 2);
  EXPECT_EQ(out[0], 16384);
  EXPECT_EQ(out[1], 16384);  // both channels from the one
  EXPECT_EQ(out[15 * 2], -16384);
  EXPECT_EQ(out[6 * 2], 0);  // halfway between the second and third source frames
}

TEST(Convert, SixteenBitStereoAtTheMixRateIsUnchanged) {
  WAVEFORMATEX f{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
  const std::int16_t in[] = {1, -2, 30000, -30000, 5, 6};
  auto out = Convert_To_Mix_Format(f, 44100, reinterpret_cast<const std::uint8_t*>(in),
                                   sizeof in - 1);  // a partial last frame is dropped
  EXPECT_EQ(out, (std::vector<std::int16_t>{1, -2, 30000, -30000}));
}

TEST(Convert, OnlyPlainPcmOfEightOrSixteenBitsIsPlayable) {
  WAVEFORMATEX ok{WAVE_FORMAT_PCM, 2, 22050, 88200, 4, 16, 0};
  EXPECT_TRUE(Playable_Format(ok));
  WAVEFORMATEX bad = ok;
  bad.wFormatTag = 2;
  EXPECT_FALSE(Playable_Format(bad));
  bad = ok, bad.wBitsPerSample = 24, bad.nBlockAlign = 6;
  EXPECT_FALSE(Playable_Format(bad));
  bad = ok, bad.nSamplesPerSec = 0;
  EXPECT_FALSE(Playable_Format(bad));
}

}  // namespace
}  // namespace zorvex::testing
