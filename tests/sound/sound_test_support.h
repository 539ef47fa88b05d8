// What the sound tests share: WAV files written on the spot, in a folder of their own.
#pragma once

#include <cstdint>
#include <string>

#include "tests/temp_dir.h"

namespace zorvex::testing {

// RIFF pieces, little-endian.
inline std::string U16(std::uint16_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}
inline std::string U32(std::uint32_t v) {
  return U16(v & 0xFFFF) + U16(static_cast<std::uint16_t>(v >> 16));
}
// A chunk with its pad byte; `declared` overrides the size written in the header.
inline std::string Chunk(const std::string& id, const std::string& body,
                         std::int64_t declared = -1) {
  const std::string out =
      id + U32(static_cast<std::uint32_t>(declared < 0 ? body.size() : declared)) + body;
  return body.size() % 2 ? out + '\0' : out;
}
inline std::string Riff(const std::string& chunks, const std::string& form = "WAVE") {
  return "RIFF" + U32(static_cast<std::uint32_t>(4 + chunks.size())) + form + chunks;
}
// A "fmt " chunk body: the 16 PCM bytes, for the given tag and layout.
inline std::string Fmt_Body(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                            std::uint16_t bits) {
  const auto align = static_cast<std::uint16_t>(channels * bits / 8);
  return U16(tag) + U16(channels) + U32(rate) + U32(rate * align) + U16(align) + U16(bits);
}
inline std::string Pcm_Wav(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                           const std::string& samples) {
  return Riff(Chunk("fmt ", Fmt_Body(1, channels, rate, bits)) + Chunk("data", samples));
}

}  // namespace zorvex::testing
