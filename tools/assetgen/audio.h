// The game's sound effects and music, synthesised and written as PCM WAV files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

// Interleaved float samples, nominally -1..1.
struct Sound {
  int rate = 44100;
  int channels = 2;
  std::vector<float> samples;
};

// 16-bit PCM RIFF/WAVE bytes; samples are clipped to the 16-bit range.
std::vector<std::uint8_t> Encode_Wav(const Sound& s);

// Scales the sound so its highest peak sits at `peak` (full scale 1.0).
void Normalise(Sound* s, float peak);

Sound Make_Effect(const std::string& name);  // bloop, doing, shoot, explode1, chippy
Sound Make_Music(int track);                 // 0 .. 4

// A track in two halves that share nothing until they are mixed, so that two workers may make
// them at once: the beat (bass, drums with the snare's sends, and pads) and the tune (lead, its
// echo, and arpeggios). A half is its buffers' channels one after another. Halves of another
// track mix to a sound with no samples.
enum class Music_Half { BEAT, TUNE };
std::vector<float> Make_Music_Half(int track, Music_Half half);
Sound Mix_Music(int track, const std::vector<float>& beat, const std::vector<float>& tune);

// Every sound file the game loads, by name, and one of them made whole ("music00.wav"); an
// unknown name gives no bytes. The build writes these files and the page makes the same ones.
const std::vector<std::string>& Sound_Files();
std::vector<std::uint8_t> Make_Sound_File(const std::string& name);

bool Write_Sounds(const std::string& dir);

}  // namespace assetgen
