#include "sound_test_support.h"

#include <unistd.h>

#include <atomic>
#include <fstream>

#include "platform/soft/soft_os.h"
#include "platform/soft/soft_sound.h"

namespace zorvex::testing {

std::string U16(std::uint16_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

std::string U32(std::uint32_t v) {
  return U16(v & 0xFFFF) + U16(static_cast<std::uint16_t>(v >> 16));
}

std::string Chunk(const std::string& id, const std::string& body, std::int64_t declared) {
  auto size = static_cast<std::uint32_t>(declared < 0 ? body.size() : declared);
  std::string out = id + U32(size) + body;
  if (body.size() % 2) out += '\0';
  return out;
}

std::string Riff(const std::string& chunks, const std::string& form) {
  return "RIFF" + U32(static_cast<std::uint32_t>(4 + chunks.size())) + form + chunks;
}

std::string Fmt_Body(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                     std::uint16_t bits) {
  auto align = static_cast<std::uint16_t>(channels * bits / 8);
  return U16(tag) + U16(channels) + U32(rate) + U32(rate * align) + U16(align) + U16(bits);
}

std::string Pcm_Wav(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                    const std::string& samples) {
  return Riff(Chunk("fmt ", Fmt_Body(1, channels, rate, bits)) + Chunk("data", samples));
}

std::string Samples16(const std::vector<std::int16_t>& values) {
  std::string out;
  for (std::int16_t v : values) out += U16(static_cast<std::uint16_t>(v));
  return out;
}

TempDir::TempDir() {
  static std::atomic<int> serial{0};
  path_ = std::filesystem::temp_directory_path() /
          ("zorvex_sound_" + std::to_string(getpid()) + "_" + std::to_string(serial++));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
  std::filesystem::path file = path_ / name;
  std::ofstream(file, std::ios::binary) << bytes;
  return file.string();
}

SoundOs::SoundOs() : Backend(plat::soft::Make_Headless_Host(false)) {}

plat::HRESULT SoundOs::DirectSoundCreate(const plat::GUID*, plat::IDirectSound** out, void*) {
  if (device_override) {
    *out = device_override(sink);
    return *out ? plat::DS_OK : plat::DSERR_NODRIVER;
  }
  return plat::soft::Create_Sound_Device(sink, out);
}

}  // namespace zorvex::testing
