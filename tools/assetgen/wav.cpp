// Writing 16-bit PCM WAV files, and the list of sounds the game loads.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/assetgen/audio.h"
#include "tools/assetgen/image.h"

namespace assetgen {

std::vector<std::uint8_t> Encode_Wav(const Sound& s) {
  const std::uint32_t data = static_cast<std::uint32_t>(s.samples.size() * 2);
  std::vector<std::uint8_t> out;
  out.reserve(44 + data);
  auto tag = [&](const char* t) {
    for (int k = 0; k < 4; ++k) out.push_back(static_cast<std::uint8_t>(t[k]));
  };
  auto u32 = [&](std::uint32_t v) {
    for (int k = 0; k < 4; ++k) out.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
  };
  auto u16 = [&](std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  const std::uint32_t align = static_cast<std::uint32_t>(s.channels * 2);
  tag("RIFF");
  u32(36 + data);
  tag("WAVE");
  tag("fmt ");
  u32(16);
  u16(1);  // PCM
  u16(static_cast<std::uint32_t>(s.channels));
  u32(static_cast<std::uint32_t>(s.rate));
  u32(static_cast<std::uint32_t>(s.rate) * align);
  u16(align);
  u16(16);
  tag("data");
  u32(data);
  for (float v : s.samples) {
    long q = std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f);
    u16(static_cast<std::uint32_t>(static_cast<std::uint16_t>(static_cast<std::int16_t>(q))));
  }
  return out;
}

void Normalise(Sound* s, float peak) {
  float top = 0;
  for (float v : s->samples) top = std::max(top, std::fabs(v));
  if (top <= 0) return;
  for (float& v : s->samples) v *= peak / top;
}

const std::vector<std::string>& Sound_Files() {
  static const std::vector<std::string> names = {
      "bloop.wav",   "doing.wav",   "shoot.wav",   "explode1.wav", "chippy.wav",
      "music00.wav", "music01.wav", "music02.wav", "music03.wav",  "music04.wav"};
  return names;
}

std::vector<std::uint8_t> Make_Sound_File(const std::string& name) {
  if (name.size() == 11 && name.compare(0, 6, "music0") == 0 && name[6] >= '0' && name[6] <= '4' &&
      name.compare(7, 4, ".wav") == 0) {
    return Encode_Wav(Make_Music(name[6] - '0'));
  }
  for (const char* effect : {"bloop", "doing", "shoot", "explode1", "chippy"}) {
    if (name == std::string(effect) + ".wav") return Encode_Wav(Make_Effect(effect));
  }
  return {};
}

bool Write_Sounds(const std::string& dir) {
  bool ok = true;
  for (const std::string& name : Sound_Files()) {
    const std::string path = dir + "/" + name;
    if (!Write_File(path, Make_Sound_File(name))) {
      std::fprintf(stderr, "zorvex-assetgen: cannot write %s\n", path.c_str());
      ok = false;
    }
  }
  return ok;
}

}  // namespace assetgen
