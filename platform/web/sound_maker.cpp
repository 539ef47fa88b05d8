// The generator of the game's sounds and music, as the build runs it, for the page's worker:
// zorvex_make_sound(k) makes the k-th file the game loads, byte for byte as the build writes it.
// A track may also be made in its two halves by two workers at once: one makes the beat and
// keeps it, the other makes the tune and hands it over, and the first mixes them.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <vector>

#include "tools/assetgen/audio.h"

namespace {
std::vector<std::uint8_t> made;
std::vector<float> beat;  // kept here until the tune comes to be mixed with it
std::vector<float> tune;  // made here, or handed over for the mix
}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE int zorvex_sound_count() {
  return static_cast<int>(assetgen::Sound_Files().size());
}

extern "C" EMSCRIPTEN_KEEPALIVE const char* zorvex_sound_name(int k) {
  return assetgen::Sound_Files().at(static_cast<unsigned>(k)).c_str();
}

// Returns the bytes' address; zorvex_made_size() gives their count.
extern "C" EMSCRIPTEN_KEEPALIVE const std::uint8_t* zorvex_make_sound(int k) {
  made = assetgen::Make_Sound_File(assetgen::Sound_Files().at(static_cast<unsigned>(k)));
  return made.data();
}

extern "C" EMSCRIPTEN_KEEPALIVE int zorvex_made_size() { return static_cast<int>(made.size()); }

// Makes and keeps the beat of music track `track`.
extern "C" EMSCRIPTEN_KEEPALIVE void zorvex_make_beat(int track) {
  beat = assetgen::Make_Music_Half(track, assetgen::Music_Half::BEAT);
}

// Makes the tune of music track `track`: its address; zorvex_tune_size() gives its floats.
extern "C" EMSCRIPTEN_KEEPALIVE const float* zorvex_make_tune(int track) {
  tune = assetgen::Make_Music_Half(track, assetgen::Music_Half::TUNE);
  return tune.data();
}

extern "C" EMSCRIPTEN_KEEPALIVE int zorvex_tune_size() { return static_cast<int>(tune.size()); }

// Room for `count` floats of a tune handed over from another worker.
extern "C" EMSCRIPTEN_KEEPALIVE float* zorvex_tune_space(int count) {
  tune.assign(static_cast<std::size_t>(count), 0);
  return tune.data();
}

// Mixes the kept beat with the tune into track `track`'s file, as zorvex_make_sound gives it, and
// lets both halves go. No bytes (zorvex_made_size() 0) when the halves are not that track's.
extern "C" EMSCRIPTEN_KEEPALIVE const std::uint8_t* zorvex_mix_music(int track) {
  const assetgen::Sound mixed = assetgen::Mix_Music(track, beat, tune);
  made = mixed.samples.empty() ? std::vector<std::uint8_t>{} : assetgen::Encode_Wav(mixed);
  std::vector<float>().swap(beat);
  std::vector<float>().swap(tune);
  return made.data();
}
