#include "app/snapshot.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "gfx/display.h"
#include "platform/files/whole_file.h"

namespace zorvex {

using namespace plat;

namespace {

constexpr std::uint32_t DDSURFACEDESC2_SIZE = 124;
constexpr std::uint32_t BMP_HEADER_SIZE = 54;

struct Snapshots {
  std::vector<Snapshot> pending;  // by frame
  std::size_t next = 0;
  bool failed = false;
} snapshots;

std::string Describe(const Snapshot& s) {
  return "--snapshot " + std::to_string(s.frame) + ":" + s.path;
}

// A channel's values widened to 8 bits by repeating their top bits, as 5-6-5 to 8-8-8 is done.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint8_t table[256] = {};

  explicit Channel(std::uint32_t m) : mask(m), shift(std::countr_zero(m | 0x10000u)) {
    int bits = std::min(std::popcount(m), 8);
    for (std::uint32_t v = 0; bits > 0 && v < (1u << bits); ++v) {
      std::uint32_t wide = 0;
      int filled = 0;
      for (; filled < 8; filled += bits) wide = (wide << bits) | v;
      table[v] = static_cast<std::uint8_t>(wide >> (filled - 8));
    }
    shift += std::popcount(m) - bits;  // wider than 8 bits: keep the top 8
  }
  std::uint8_t operator()(std::uint16_t pixel) const { return table[(pixel & mask) >> shift]; }
};

void Put16(std::vector<std::uint8_t>* out, std::size_t at, std::uint32_t v) {
  (*out)[at] = static_cast<std::uint8_t>(v);
  (*out)[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::vector<std::uint8_t>* out, std::size_t at, std::uint32_t v) {
  Put16(out, at, v);
  Put16(out, at + 2, v >> 16);
}

// The locked 16-bit picture as a BMP file: bottom-up rows of blue, green, red, each padded to
// four bytes.
std::vector<std::uint8_t> Encode_Bmp(const DDSURFACEDESC2& desc) {
  const std::uint32_t w = desc.dwWidth, h = desc.dwHeight;
  const std::uint32_t row_bytes = (w * 3 + 3) & ~3u;
  const std::uint32_t image = row_bytes * h;
  std::vector<std::uint8_t> out(BMP_HEADER_SIZE + image, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(&out, 2, BMP_HEADER_SIZE + image);
  Put32(&out, 10, BMP_HEADER_SIZE);
  Put32(&out, 14, 40);
  Put32(&out, 18, w);
  Put32(&out, 22, h);
  Put16(&out, 26, 1);
  Put16(&out, 28, 24);
  Put32(&out, 34, image);
  Put32(&out, 38, 2835);  // 72 dots an inch
  Put32(&out, 42, 2835);
  const DDPIXELFORMAT& format = desc.ddpfPixelFormat;
  const Channel red(format.dwRBitMask), green(format.dwGBitMask), blue(format.dwBBitMask);
  const auto* base = static_cast<const std::uint8_t*>(desc.lpSurface);
  for (std::uint32_t y = 0; y < h; ++y) {
    const std::uint8_t* row = base + static_cast<std::ptrdiff_t>(desc.lPitch) * (h - 1 - y);
    std::uint8_t* to = out.data() + BMP_HEADER_SIZE + static_cast<std::size_t>(row_bytes) * y;
    for (std::uint32_t x = 0; x < w; ++x) {
      std::uint16_t pixel;
      std::memcpy(&pixel, row + 2 * x, sizeof pixel);
      *to++ = blue(pixel);
      *to++ = green(pixel);
      *to++ = red(pixel);
    }
  }
  return out;
}

bool Read_Surface(IDirectDrawSurface4* surface, std::vector<std::uint8_t>* bmp,
                  std::string* error) {
  DDSURFACEDESC2 desc{};
  desc.dwSize = DDSURFACEDESC2_SIZE;
  if (!surface || surface->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr) != DD_OK) {
    *error = "cannot read the picture on show";
    return false;
  }
  bool usable = (desc.dwFlags & DDSD_PIXELFORMAT) && desc.ddpfPixelFormat.dwRGBBitCount == 16 &&
                desc.lpSurface && desc.dwWidth > 0 && desc.dwHeight > 0;
  if (usable) *bmp = Encode_Bmp(desc);
  surface->Unlock(nullptr);
  if (!usable) *error = "the picture on show is not a 16-bit one";
  return usable;
}

}  // namespace

bool Write_Surface_Bmp(IDirectDrawSurface4* surface, const std::string& path, std::string* error) {
  std::vector<std::uint8_t> bmp;
  return Read_Surface(surface, &bmp, error) &&
         files::Write_Whole_File(path, bmp.data(), bmp.size(), files::Replace::OLD_FILE, error) ==
             files::Written::WRITTEN;
}

bool Begin_Snapshots(const std::vector<Snapshot>& wanted, std::string* error) {
  snapshots = Snapshots{};
  for (const Snapshot& s : wanted) {
    std::error_code ignored;
    if (std::filesystem::is_directory(s.path, ignored)) {
      *error = Describe(s) + ": is a folder";
      return false;
    }
    // A file made beside the snapshot answers for the folder: that it is there, that it is a
    // folder, and that it takes new files.
    const std::string temp = s.path + ".tmp";
    std::FILE* probe = std::fopen(temp.c_str(), "wb");
    if (!probe) {
      *error = Describe(s) + ": cannot write there: " + std::strerror(errno);
      return false;
    }
    std::fclose(probe);
    std::remove(temp.c_str());
  }
  snapshots.pending = wanted;
  std::stable_sort(snapshots.pending.begin(), snapshots.pending.end(),
                   [](const Snapshot& a, const Snapshot& b) { return a.frame < b.frame; });
  return true;
}

void Take_Snapshots(std::uint64_t frame) {
  while (snapshots.next < snapshots.pending.size() &&
         snapshots.pending[snapshots.next].frame <= frame) {
    const Snapshot& s = snapshots.pending[snapshots.next++];
    std::string error;
    if (s.frame == frame && !Write_Surface_Bmp(lpddsfront, s.path, &error)) {
      std::fprintf(stderr, "zorvex: %s: %s\n", Describe(s).c_str(), error.c_str());
      snapshots.failed = true;
    }
  }
}

bool End_Snapshots(std::uint64_t last_frame) {
  for (std::size_t i = snapshots.next; i < snapshots.pending.size(); ++i) {
    std::fprintf(stderr, "zorvex: %s: the run ended after frame %llu; nothing written\n",
                 Describe(snapshots.pending[i]).c_str(),
                 static_cast<unsigned long long>(last_frame));
  }
  bool ok = !snapshots.failed;
  snapshots = Snapshots{};
  return ok;
}

}  // namespace zorvex
