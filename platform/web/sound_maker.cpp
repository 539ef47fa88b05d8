// The generator of the game's sounds and music, as the build runs it, for the page's worker:
// zorvex_make_sound(k) makes the k-th file the game loads, byte for byte as the build writes it.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <vector>

#include "tools/assetgen/audio.h"

namespace {
std::vector<std::uint8_t> made;
}

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
