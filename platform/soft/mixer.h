// The software mixer: adds the playing sounds, each at its own volume, into 44100 Hz 16-bit
// stereo. It never allocates and takes no lock; whoever changes voices while a device pulls
// from Mix holds the device's lock (AudioSink::Lock) around the change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/dsound.h"

namespace plat::soft {

constexpr int MIX_RATE = 44100;
constexpr std::int32_t UNITY_GAIN = 1 << 16;

// One sound as the mixer plays it, already in the output format.
struct Voice {
  const std::int16_t* samples = nullptr;  // interleaved left/right
  std::uint32_t frames = 0;
  std::uint32_t position = 0;  // the next frame to play
  std::int32_t gain = UNITY_GAIN;
  bool playing = false;
  bool looping = false;
};

class Mixer {
 public:
  static constexpr int MAX_VOICES = 64;

  // False when every place is taken.
  bool Add(Voice* voice);
  void Remove(Voice* voice);
  void Set_Master_Gain(std::int32_t gain) { master_gain_ = gain; }

  // Writes `frames` stereo frames: the sum of the playing voices, saturated to 16 bits. A voice
  // that reaches its end starts again when looping, else stops and goes back to its start.
  void Mix(std::int16_t* out, int frames);

 private:
  void Add_Voice(Voice& v, std::int32_t* acc, int frames);

  Voice* voices_[MAX_VOICES] = {};
  int count_ = 0;
  std::int32_t master_gain_ = UNITY_GAIN;
};

// The gain for an attenuation in hundredths of a decibel (-10000 is silence, 0 full volume).
std::int32_t Gain_From_Hundredths_Db(std::int32_t hundredths_db);

// True for the PCM formats the device can play: 8 or 16 bits, one or two channels.
bool Playable_Format(const WAVEFORMATEX& format);

// True when `bytes` in `format` at `rate` frames a second can be played as they are: 16-bit
// stereo at the output rate, aligned for 16-bit reads.
bool Is_Mix_Format(const WAVEFORMATEX& format, std::uint32_t rate, const std::uint8_t* bytes);

// Converts whole frames of `bytes` in `format` (played at `rate` frames a second) to the output
// format, resampling linearly. `format` must be playable.
std::vector<std::int16_t> Convert_To_Mix_Format(const WAVEFORMATEX& format, std::uint32_t rate,
                                                const std::uint8_t* bytes, std::size_t size);

}  // namespace plat::soft
