// The generated sounds are well-formed PCM files that play cleanly and loop without a seam.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/test_double/test_backend.h"
#include "sound/wave_reader.h"

namespace zorvex::testing {
namespace {

struct Pcm {
  int channels = 0, rate = 0, bits = 0;
  std::vector<std::int16_t> samples;  // interleaved
  double Seconds() const { return channels ? samples.size() / double(channels) / rate : 0; }
};

// Read by the game's own reader: PCM of 16 bits, one or two channels, its format consistent.
::testing::AssertionResult Parse(const std::string& name, Pcm* out) {
  const std::string path = std::string(ZORVEX_DATA_DIR) + "/" + name;
  plat::test_double::TestBackend backend{{0, false, false}};  // the reader's memory blocks
  std::uint32_t size = 0;
  plat::WAVEFORMATEX* f = nullptr;
  std::uint8_t* data = nullptr;
  if (Wave_Load(path.c_str(), &size, &f, &data) != 0)
    return ::testing::AssertionFailure() << name << ": refused by the reader";
  *out = Pcm{f->nChannels, static_cast<int>(f->nSamplesPerSec), f->wBitsPerSample,
             std::vector<std::int16_t>(size / 2)};
  std::memcpy(out->samples.data(), data, out->samples.size() * 2);
  const bool consistent = f->wFormatTag == 1 && f->nBlockAlign == f->nChannels * 2 &&
                          f->nAvgBytesPerSec == f->nSamplesPerSec * f->nBlockAlign;
  plat::GlobalFree(f);
  plat::GlobalFree(data);
  if (!consistent || out->bits != 16 || out->channels < 1 || out->channels > 2 ||
      out->samples.empty() || out->samples.size() % out->channels)
    return ::testing::AssertionFailure() << name << ": unexpected format or sample layout";
  return ::testing::AssertionSuccess();
}

int Peak(const Pcm& p) {
  int top = 0;
  for (int v : p.samples) top = std::max(top, std::abs(v));
  return top;
}

double Rms(const Pcm& p, size_t from, size_t count) {
  double e = 0;
  for (size_t i = from; i < from + count; ++i) e += double(p.samples[i]) * p.samples[i];
  return std::sqrt(e / count);
}

const char* kEffects[] = {"bloop.wav", "doing.wav", "shoot.wav", "explode1.wav", "chippy.wav"};

TEST(Sounds, EffectsAreShortAudibleDistinctAndBelowFullScale) {
  std::set<std::vector<std::int16_t>> distinct;
  for (const char* name : kEffects) {
    Pcm p;
    ASSERT_TRUE(Parse(name, &p));
    EXPECT_GT(p.Seconds(), 0.05) << name;
    EXPECT_LT(p.Seconds(), 1.0) << name;
    EXPECT_LT(Peak(p), 32000) << name;
    EXPECT_GT(Peak(p), 8000) << name;
    // It must end in silence: a cut-off tail would click every time it plays.
    EXPECT_LT(std::abs(p.samples.back()), 200) << name;
    distinct.insert(p.samples);
  }
  EXPECT_EQ(distinct.size(), std::size(kEffects)) << "two effects sound the same";
}

// The loop seam: the step from the last frame to the first must look like any other step of
// the track, and neither end may fall silent (a gap).
TEST(Sounds, MusicIsLongEnoughAndLoopsWithoutClickOrGap) {
  for (int k = 0; k < 5; ++k) {
    const std::string name = "music0" + std::to_string(k) + ".wav";
    Pcm p;
    ASSERT_TRUE(Parse(name, &p));
    EXPECT_GE(p.Seconds(), 30.0) << name;
    EXPECT_LT(Peak(p), 32000) << name;
    // Steps between successive frames of each channel, all channels pooled.
    const size_t ch = p.channels, n = p.samples.size();
    std::vector<int> steps;
    for (size_t i = ch; i < n; ++i) steps.push_back(std::abs(p.samples[i] - p.samples[i - ch]));
    std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
    for (size_t c = 0; c < ch; ++c)
      EXPECT_LE(std::abs(p.samples[c] - p.samples[n - ch + c]), steps[steps.size() * 99 / 100])
          << name << " channel " << c << ": click at the loop point";
    const size_t quarter = static_cast<size_t>(p.rate / 4) * ch;
    EXPECT_GT(Rms(p, 0, quarter), 300) << name << ": silent start";
    EXPECT_GT(Rms(p, n - quarter, quarter), 300) << name << ": silent end";
    EXPECT_GT(Rms(p, 0, n), 1500) << name << ": too quiet to mix";
  }
}

}  // namespace
}  // namespace zorvex::testing
