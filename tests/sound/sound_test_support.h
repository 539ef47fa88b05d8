// What the sound tests share: WAV files written on the spot, a machine whose sound device and
// debugger output the test controls.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/soft/audio_sink.h"
#include "platform/soft/backend.h"
#include "tests/manual_sink.h"

namespace zorvex::testing {

// RIFF pieces, little-endian.
std::string U16(std::uint16_t v);
std::string U32(std::uint32_t v);
// A chunk with its pad byte; `declared` overrides the size written in the header.
std::string Chunk(const std::string& id, const std::string& body, std::int64_t declared = -1);
std::string Riff(const std::string& chunks, const std::string& form = "WAVE");
// A "fmt " chunk body: the 16 PCM bytes, for the given tag and layout.
std::string Fmt_Body(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                     std::uint16_t bits);
std::string Pcm_Wav(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                    const std::string& samples);
// 16-bit mono samples.
std::string Samples16(const std::vector<std::int16_t>& values);

// A directory of its own for the files a test writes; removed afterwards.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  std::string Write(const std::string& name, const std::string& bytes) const;
  std::string Path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

// The soft machine on a headless host, but DirectSoundCreate hands out the software device on
// `sink` (none: no device) or whatever `device_override` says, and debugger output is kept.
class SoundOs : public plat::soft::Backend {
 public:
  SoundOs();
  plat::soft::AudioSink* sink = nullptr;
  plat::IDirectSound* (*device_override)(plat::soft::AudioSink*) = nullptr;
  std::vector<std::string> debug_output;

  void OutputDebugStringA(const char* text) override { debug_output.emplace_back(text); }
  plat::HRESULT DirectSoundCreate(const plat::GUID* device, plat::IDirectSound** out,
                                  void* outer) override;
};

}  // namespace zorvex::testing
