#include "platform/soft/mixer.h"

#include <gtest/gtest.h>

#include <vector>

namespace zorvex::testing {
namespace {

using namespace plat;
using namespace plat::soft;

// A constant stereo sound of `frames` frames at `value`.
std::vector<std::int16_t> Constant(int frames, std::int16_t value) {
  return std::vector<std::int16_t>(static_cast<std::size_t>(frames) * 2, value);
}

Voice Playing(const std::vector<std::int16_t>& s) {
  Voice v;
  v.samples = s.data();
  v.frames = static_cast<std::uint32_t>(s.size() / 2);
  v.playing = true;
  return v;
}

std::vector<std::int16_t> Mix(Mixer& m, int frames) {
  std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * 2, 1234);
  m.Mix(out.data(), frames);
  return out;
}

TEST(Mixer, SaturatesInsteadOfWrapping) {
  auto up = Constant(10, 30000), down = Constant(10, -30000);
  Voice a = Playing(up), b = Playing(up), c = Playing(down), d = Playing(down);
  Mixer m;
  m.Add(&a), m.Add(&b);
  EXPECT_EQ(Mix(m, 10)[5], 32767);
  m.Remove(&a), m.Remove(&b);
  m.Add(&c), m.Add(&d);
  EXPECT_EQ(Mix(m, 10)[5], -32768);
  // Hundredths of a decibel to a 16.16 gain, down to silence at the floor.
  EXPECT_EQ(Gain_From_Hundredths_Db(0), kUnityGain);
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
