#include "platform/soft/mixer.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace plat::soft {

namespace {

constexpr int CHUNK_FRAMES = 256;  // the callback's scratch sum lives on the stack

std::int16_t Saturate(std::int64_t v) {
  return static_cast<std::int16_t>(std::clamp<std::int64_t>(v, -32768, 32767));
}

// One sample of channel `ch` of frame `i`, as signed 16 bits.
std::int32_t Source_Sample(const WAVEFORMATEX& f, const std::uint8_t* bytes, std::size_t i,
                           int ch) {
  int c = f.nChannels == 2 ? ch : 0;
  if (f.wBitsPerSample == 8) return (bytes[i * f.nChannels + c] - 128) * 256;
  const std::uint8_t* p = bytes + (i * f.nChannels + c) * 2;
  return static_cast<std::int16_t>(p[0] | p[1] << 8);
}

}  // namespace

bool Is_Mix_Format(const WAVEFORMATEX& f, std::uint32_t rate, const std::uint8_t* bytes) {
  return std::endian::native == std::endian::little && rate == MIX_RATE && f.nChannels == 2 &&
         f.wBitsPerSample == 16 &&
         reinterpret_cast<std::uintptr_t>(bytes) % alignof(std::int16_t) == 0;
}

bool Mixer::Add(Voice* voice) {
  if (count_ == MAX_VOICES) return false;
  voices_[count_++] = voice;
  return true;
}

void Mixer::Remove(Voice* voice) {
  for (int i = 0; i < count_; ++i) {
    if (voices_[i] != voice) continue;
    voices_[i] = voices_[--count_];
    voices_[count_] = nullptr;
    return;
  }
}

void Mixer::Add_Voice(Voice& v, std::int32_t* acc, int frames) {
  for (int i = 0; i < frames && v.playing;) {
    if (v.position >= v.frames) {
      v.position = 0;
      if (!v.looping || v.frames == 0) {
        v.playing = false;
        break;
      }
    }
    int run = static_cast<int>(std::min<std::uint32_t>(v.frames - v.position, frames - i));
    const std::int16_t* src = v.samples + static_cast<std::size_t>(v.position) * 2;
    for (int k = 0; k < run * 2; ++k)
      acc[i * 2 + k] +=
          static_cast<std::int32_t>((static_cast<std::int64_t>(src[k]) * v.gain) >> 16);
    v.position += static_cast<std::uint32_t>(run);
    i += run;
  }
  if (v.playing && v.position >= v.frames && !v.looping) {  // ended exactly at the chunk's end
    v.playing = false;
    v.position = 0;
  }
}

void Mixer::Mix(std::int16_t* out, int frames) {
  std::int32_t acc[CHUNK_FRAMES * 2];
  while (frames > 0) {
    int n = std::min(frames, CHUNK_FRAMES);
    std::fill(acc, acc + n * 2, 0);
    for (int i = 0; i < count_; ++i)
      if (voices_[i]->playing) Add_Voice(*voices_[i], acc, n);
    for (int k = 0; k < n * 2; ++k)
      out[k] = Saturate((static_cast<std::int64_t>(acc[k]) * master_gain_) >> 16);
    out += n * 2;
    frames -= n;
  }
}

std::int32_t Gain_From_Hundredths_Db(std::int32_t hundredths_db) {
  if (hundredths_db <= -10000) return 0;
  if (hundredths_db >= 0) return UNITY_GAIN;
  return static_cast<std::int32_t>(
      std::lround(UNITY_GAIN * std::pow(10.0, hundredths_db / 2000.0)));
}

bool Playable_Format(const WAVEFORMATEX& f) {
  if (f.wFormatTag != WAVE_FORMAT_PCM) return false;
  if (f.nChannels != 1 && f.nChannels != 2) return false;
  if (f.wBitsPerSample != 8 && f.wBitsPerSample != 16) return false;
  if (f.nBlockAlign != f.nChannels * f.wBitsPerSample / 8) return false;
  return f.nSamplesPerSec >= 100 && f.nSamplesPerSec <= 200000;
}

std::vector<std::int16_t> Convert_To_Mix_Format(const WAVEFORMATEX& f, std::uint32_t rate,
                                                const std::uint8_t* bytes, std::size_t size) {
  const std::size_t in_frames = size / f.nBlockAlign;
  if (in_frames == 0 || rate == 0) return {};
  const std::size_t out_frames = (in_frames * MIX_RATE + rate - 1) / rate;
  std::vector<std::int16_t> out(out_frames * 2);
  // Source position in 32.32 fixed point, stepping rate/44100 source frames per output frame.
  const std::uint64_t step = (static_cast<std::uint64_t>(rate) << 32) / MIX_RATE;
  std::uint64_t pos = 0;
  for (std::size_t o = 0; o < out_frames; ++o, pos += step) {
    std::size_t i = static_cast<std::size_t>(pos >> 32);
    std::size_t j = std::min(i + 1, in_frames - 1);
    std::int64_t frac = static_cast<std::int64_t>((pos >> 16) & 0xFFFF);
    for (int ch = 0; ch < 2; ++ch) {
      std::int64_t a = Source_Sample(f, bytes, i, ch), b = Source_Sample(f, bytes, j, ch);
      out[o * 2 + ch] = static_cast<std::int16_t>(a + (((b - a) * frac) >> 16));
    }
  }
  return out;
}

}  // namespace plat::soft
