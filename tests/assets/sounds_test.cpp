// The generated sounds are well-formed PCM files that play cleanly and loop without a seam.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace zorvex::testing {
namespace {

struct Pcm {
  int channels = 0, rate = 0, bits = 0;
  std::vector<std::int16_t> samples;  // interleaved
  double Seconds() const { return channels ? samples.size() / double(channels) / rate : 0; }
};

std::uint32_t U32(const std::vector<std::uint8_t>& d, size_t at) {
  return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | static_cast<std::uint32_t>(d[at + 3]) << 24;
}
std::uint16_t U16(const std::vector<std::uint8_t>& d, size_t at) {
  return static_cast<std::uint16_t>(d[at] | d[at + 1] << 8);
}

// A small RIFF walk of our own, independent of the game's reader: every chunk must fit in the
// file, and the format must be consistent with itself.
::testing::AssertionResult Parse(const std::string& name, Pcm* out) {
  std::ifstream f(std::string(ZORVEX_DATA_DIR) + "/" + name, std::ios::binary);
  std::vector<std::uint8_t> d((std::istreambuf_iterator<char>(f)),
                              std::istreambuf_iterator<char>());
  if (d.size() < 12 || std::string(d.begin(), d.begin() + 4) != "RIFF" ||
      std::string(d.begin() + 8, d.begin() + 12) != "WAVE")
    return ::testing::AssertionFailure() << name << ": not a RIFF WAVE file";
  if (U32(d, 4) + 8 != d.size()) return ::testing::AssertionFailure() << name << ": RIFF size";
  bool fmt = false, data = false;
  for (size_t at = 12; at + 8 <= d.size();) {
    std::string id(d.begin() + at, d.begin() + at + 4);
    std::uint32_t size = U32(d, at + 4);
    if (at + 8 + size > d.size())
      return ::testing::AssertionFailure() << name << ": chunk overruns";
    if (id == "fmt ") {
      if (size < 16 || U16(d, at + 8) != 1)
        return ::testing::AssertionFailure() << name << ": not PCM";
      out->channels = U16(d, at + 10);
      out->rate = static_cast<int>(U32(d, at + 12));
      out->bits = U16(d, at + 22);
      std::uint16_t align = U16(d, at + 20);
      if (align != out->channels * out->bits / 8 ||
          U32(d, at + 16) != static_cast<std::uint32_t>(out->rate) * align)
        return ::testing::AssertionFailure() << name << ": inconsistent format";
      fmt = true;
    } else if (id == "data") {
      for (size_t i = 0; i + 1 < size; i += 2)
        out->samples.push_back(static_cast<std::int16_t>(U16(d, at + 8 + i)));
      data = true;
    }
    at += 8 + size + (size & 1);
  }
  if (!fmt || !data) return ::testing::AssertionFailure() << name << ": chunk missing";
  if (out->bits != 16 || out->channels < 1 || out->channels > 2 || out->samples.empty() ||
      out->samples.size() % out->channels)
    return ::testing::AssertionFailure() << name << ": unexpected sample layout";
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
  std::vector<Pcm> all;
  for (const char* name : kEffects) {
    Pcm p;
    ASSERT_TRUE(Parse(name, &p));
    EXPECT_GT(p.Seconds(), 0.05) << name;
    EXPECT_LT(p.Seconds(), 1.0) << name;
    EXPECT_LT(Peak(p), 32000) << name;
    EXPECT_GT(Peak(p), 8000) << name;
    // It must end in silence: a cut-off tail would click every time it plays.
    EXPECT_LT(std::abs(p.samples.back()), 200) << name;
    all.push_back(p);
  }
  for (size_t i = 0; i < all.size(); ++i)
    for (size_t j = i + 1; j < all.size(); ++j)
      EXPECT_NE(all[i].samples, all[j].samples) << kEffects[i] << " and " << kEffects[j];
}

// The loop seam: the step from the last frame to the first must look like any other step of
// the track, and neither end may fall silent (a gap).
TEST(Sounds, MusicIsLongEnoughAndLoopsWithoutClickOrGap) {
  for (int n = 0; n < 5; ++n) {
    const std::string name = "music0" + std::to_string(n) + ".wav";
    Pcm p;
    ASSERT_TRUE(Parse(name, &p));
    EXPECT_GE(p.Seconds(), 30.0) << name;
    EXPECT_LT(Peak(p), 32000) << name;
    const int ch = p.channels;
    const size_t frames = p.samples.size() / ch;
    for (int c = 0; c < ch; ++c) {
      std::vector<int> steps;
      for (size_t i = 1; i < frames; ++i)
        steps.push_back(std::abs(p.samples[i * ch + c] - p.samples[(i - 1) * ch + c]));
      std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
      int p99 = steps[steps.size() * 99 / 100];
      int seam = std::abs(p.samples[c] - p.samples[(frames - 1) * ch + c]);
      EXPECT_LE(seam, p99) << name << " channel " << c << ": click at the loop point";
    }
    const size_t quarter = static_cast<size_t>(p.rate / 4) * ch;
    EXPECT_GT(Rms(p, 0, quarter), 300) << name << ": silent start";
    EXPECT_GT(Rms(p, p.samples.size() - quarter, quarter), 300) << name << ": silent end";
    EXPECT_GT(Rms(p, 0, p.samples.size()), 1500) << name << ": too quiet to mix";
  }
}

// The game's own reader, through its command-line front end, accepts every file.
TEST(Sounds, WavInfoAcceptsEveryFile) {
  namespace fs = std::filesystem;
  fs::path tool = fs::path(ZORVEX_DATA_DIR).parent_path() / "tools/wavinfo/zorvex-wavinfo";
  if (!fs::exists(tool)) GTEST_SKIP() << "zorvex-wavinfo not built";
  std::string cmd = tool.string();
  for (const char* name : kEffects) cmd += " " + std::string(ZORVEX_DATA_DIR) + "/" + name;
  for (int n = 0; n < 5; ++n)
    cmd += " " + std::string(ZORVEX_DATA_DIR) + "/music0" + std::to_string(n) + ".wav";
  EXPECT_EQ(std::system((cmd + " > /dev/null").c_str()), 0) << cmd;
}

}  // namespace
}  // namespace zorvex::testing
