// A small synthesiser: oscillators with envelopes, drum voices and effects, all writing into a
// circular stereo buffer so that whatever rings past the end wraps round to the start.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/assetgen/noise.h"

namespace assetgen {

enum class Wave { SINE, TRIANGLE, SQUARE, SAW, NOISE };

struct Instrument {
  Wave wave = Wave::SINE;
  float duty = 0.5f;      // square only
  float attack = 0.005f;  // seconds
  float decay = 0.1f;     // seconds to fall to sustain
  float sustain = 0.7f;   // level while held
  float release = 0.08f;  // seconds after the note ends
  float cutoff = 6000;    // one-pole low-pass, Hz
  float detune = 0;       // cents of a second, detuned oscillator (0: none)
  float vibrato = 0;      // depth in semitones, after a short delay
  float vibrato_hz = 5.5f;
  float sub = 0;  // level of a sine one octave below
  float gain = 0.3f;
};

float Midi_Hz(float note);

// A stereo buffer of `frames` frames that wraps: writing past the end lands at the start.
class Loop_Buffer {
 public:
  Loop_Buffer(int frames, int rate) : frames_(frames), rate_(rate), l_(frames), r_(frames) {}
  int Frames() const { return frames_; }
  int Rate() const { return rate_; }
  // Where `frame` lands, before the start or past the end as much as within.
  int Index(long frame) const { return static_cast<int>(((frame % frames_) + frames_) % frames_); }
  // Adds at `*at` and moves it on a frame: a voice's run of samples without a division each.
  void Add_Next(int* at, float left, float right) {
    l_[*at] += left;
    r_[*at] += right;
    if (++*at == frames_) *at = 0;
  }
  std::vector<float>& Left() { return l_; }
  std::vector<float>& Right() { return r_; }
  const std::vector<float>& Left() const { return l_; }
  const std::vector<float>& Right() const { return r_; }
  void Mix_Into(Loop_Buffer* out, float gain) const;

 private:
  int frames_, rate_;
  std::vector<float> l_, r_;
};

// Plays one note of `seconds` (not counting the release) from `start`, pan -1 (left) .. 1.
void Play_Note(Loop_Buffer* buf, long start, float seconds, float note, float velocity,
               const Instrument& ins, float pan);

enum class Drum { KICK, SNARE, HAT, OPEN_HAT, CLAP, CRASH, TOM };
void Play_Drum(Loop_Buffer* buf, long start, Drum d, float velocity, float pan, Rng* noise);

// Effects that treat the buffer as a loop: they run over it twice and keep the second pass, so
// the tails of the end ring on at the start exactly as they would in an endless repeat.
void Loop_Reverb(Loop_Buffer* buf, float room, float damp);
void Loop_Echo(Loop_Buffer* buf, int delay_frames, float feedback, float cutoff_hz);

}  // namespace assetgen
