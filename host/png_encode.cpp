#include "host/png_encode.h"

#include <zlib.h>

namespace host {

namespace {

void Put32(std::vector<std::uint8_t>* out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out->push_back(static_cast<std::uint8_t>(v >> shift));
}

void Chunk(std::vector<std::uint8_t>* out, const char type[5], const std::uint8_t* data,
           std::size_t size) {
  Put32(out, static_cast<std::uint32_t>(size));
  const std::size_t start = out->size();
  out->insert(out->end(), type, type + 4);
  if (size) out->insert(out->end(), data, data + size);
  uLong crc = crc32(0, out->data() + start, static_cast<uInt>(size + 4));
  Put32(out, static_cast<std::uint32_t>(crc));
}

// Each row is stored with the Sub filter, which suits the flat areas and gradients of the
// game's pictures and costs one subtraction a byte.
std::vector<std::uint8_t> Filtered_Rows(const std::uint8_t* pixels, int width, int height,
                                        int channels) {
  const std::size_t row = static_cast<std::size_t>(width) * channels;
  std::vector<std::uint8_t> out((row + 1) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* src = pixels + row * y;
    std::uint8_t* dst = &out[(row + 1) * y];
    dst[0] = 1;
    for (std::size_t i = 0; i < row; ++i)
      dst[1 + i] =
          static_cast<std::uint8_t>(src[i] - (i >= std::size_t(channels) ? src[i - channels] : 0));
  }
  return out;
}

}  // namespace

std::vector<std::uint8_t> Encode_Png(const std::uint8_t* pixels, int width, int height,
                                     int channels) {
  static constexpr std::uint8_t PNG_SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  std::vector<std::uint8_t> out(PNG_SIGNATURE, PNG_SIGNATURE + 8);
  std::vector<std::uint8_t> header;
  Put32(&header, static_cast<std::uint32_t>(width));
  Put32(&header, static_cast<std::uint32_t>(height));
  header.push_back(8);                      // bits per channel
  header.push_back(channels == 4 ? 6 : 2);  // colour type: RGBA or RGB
  header.push_back(0);                      // deflate
  header.push_back(0);                      // standard filters
  header.push_back(0);                      // not interlaced
  Chunk(&out, "IHDR", header.data(), header.size());

  std::vector<std::uint8_t> raw = Filtered_Rows(pixels, width, height, channels);
  uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> packed(packed_size);
  // A quick level: a screenshot is taken between two frames.
  compress2(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()), 3);
  Chunk(&out, "IDAT", packed.data(), packed_size);
  Chunk(&out, "IEND", nullptr, 0);
  return out;
}

}  // namespace host
