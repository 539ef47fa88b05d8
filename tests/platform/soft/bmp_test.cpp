#include "platform/soft/bmp.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "display_fixture.h"
#include "platform/data_path.h"
#include "tests/temp_dir.h"

namespace zorvex::testing {
namespace {

using plat::soft::Bitmap;
using plat::soft::Decode_Bmp;

// The 2x2 picture every depth encodes: red, green / blue, white (top row first).
const std::uint32_t kPicture[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

struct BmpWriter {
  std::vector<std::uint8_t> bytes;
  void U16(std::uint32_t v) { bytes.push_back(v & 0xFF), bytes.push_back((v >> 8) & 0xFF); }
  void U32(std::uint32_t v) { U16(v & 0xFFFF), U16(v >> 16); }
};

using Encode = std::uint32_t (*)(std::uint32_t rgb);

// Writes a BITMAPINFOHEADER file, each pixel's value from `encode`, packed leftmost first.
std::vector<std::uint8_t> Make_Bmp(int bpp, std::uint32_t compression, bool top_down,
                                   const std::vector<std::uint32_t>& palette,
                                   const std::vector<std::uint32_t>& masks, Encode encode) {
  const int w = 2, h = 2;
  const std::uint32_t stride = ((w * bpp + 31) / 32) * 4;
  const std::uint32_t bits_at = 14 + 40 + 4 * (masks.size() + palette.size());
  BmpWriter b;
  b.U16('B' | ('M' << 8));
  b.U32(bits_at + stride * h), b.U32(0), b.U32(bits_at);
  b.U32(40), b.U32(w), b.U32(top_down ? -h : h), b.U16(1), b.U16(bpp), b.U32(compression);
  b.U32(stride * h), b.U32(2835), b.U32(2835), b.U32(palette.size()), b.U32(0);
  for (std::uint32_t m : masks) b.U32(m);
  for (std::uint32_t c : palette) b.U32(c);  // 0x00RRGGBB is BGRx in little-endian order
  for (int y = 0; y < h; ++y) {
    const std::uint32_t* px = &kPicture[(top_down ? y : h - 1 - y) * w];
    std::vector<std::uint8_t> row(stride, 0);
    for (int i = 0; i < w; ++i) {
      const std::uint32_t v = encode(px[i]);
      if (bpp < 8)
        row[i * bpp / 8] |= std::uint8_t(v << (8 - bpp - i * bpp % 8));
      else
        for (int k = 0; k < bpp / 8; ++k) row[i * bpp / 8 + k] = std::uint8_t(v >> (8 * k));
    }
    b.bytes.insert(b.bytes.end(), row.begin(), row.end());
  }
  return b.bytes;
}

std::uint32_t Index_Of(std::uint32_t rgb) {
  for (std::uint32_t i = 0; i < 4; ++i)
    if (kPicture[i] == rgb) return i;
  return 0;
}

template <int R, int G, int B>
std::uint32_t Pack(std::uint32_t c) {
  return ((c >> 16 & 0xFF) >> (8 - R)) << (G + B) | ((c >> 8 & 0xFF) >> (8 - G)) << B |
         (c & 0xFF) >> (8 - B);
}

std::uint32_t Same(std::uint32_t c) { return c; }
std::uint32_t Unused_Byte_Set(std::uint32_t c) { return c | 0xAA000000u; }
std::uint32_t Swap_Red_Blue(std::uint32_t c) {
  return (c >> 16 & 0xFF) | (c & 0xFF00) | (c & 0xFF) << 16;
}
std::uint32_t White_If_Green_Or_Blue(std::uint32_t c) { return c == 0x00FF00 || c == 0x0000FF; }
std::uint32_t Green_Past_The_Palette(std::uint32_t c) { return c == 0x00FF00 ? 200 : 0; }

const std::vector<std::uint32_t> kPalette(kPicture, kPicture + 4);
// A black and white palette, and one of a single colour: an index past its end reads black.
const std::vector<std::uint32_t> kMono = {0x000000, 0xFFFFFF}, kOne = {0x123456};
const std::vector<std::uint32_t> kMonoShown = {0, 0xFFFFFF, 0xFFFFFF, 0},
                                 kOneShown = {0x123456, 0, 0x123456, 0x123456};
const std::vector<std::uint32_t> kBgrMasks = {0xFF, 0xFF00, 0xFF0000};

// Every depth and layout the reader takes, each writing the 2x2 picture (or `expect`).
TEST(Bmp, EveryDepthReadsBackThePicture) {
  struct Depth {
    const char* what;
    int bpp;
    std::uint32_t compression;
    bool top_down;
    std::vector<std::uint32_t> palette, masks;
    Encode encode;
    std::vector<std::uint32_t> expect = {kPicture, kPicture + 4};
  };
  const Depth depths[] = {
      {"8 bits", 8, 0, false, kPalette, {}, Index_Of},
      {"8 bits top down", 8, 0, true, kPalette, {}, Index_Of},
      {"4 bits", 4, 0, false, kPalette, {}, Index_Of},
      {"4 bits top down", 4, 0, true, kPalette, {}, Index_Of},
      {"1 bit, bit 7 leftmost", 1, 0, false, kMono, {}, White_If_Green_Or_Blue, kMonoShown},
      {"index past a short palette", 8, 0, true, kOne, {}, Green_Past_The_Palette, kOneShown},
      {"24 bits", 24, 0, false, {}, {}, Same},
      {"32 bits, the unused byte ignored", 32, 0, true, {}, {}, Unused_Byte_Set},
      {"32-bit fields, blue high, red low", 32, 3, false, {}, kBgrMasks, Swap_Red_Blue},
      {"16 bits, 5-5-5", 16, 0, false, {}, {}, Pack<5, 5, 5>},
      {"16-bit fields, 5-6-5", 16, 3, true, {}, {0xF800, 0x07E0, 0x001F}, Pack<5, 6, 5>},
  };
  for (const Depth& d : depths) {
    const auto file = Make_Bmp(d.bpp, d.compression, d.top_down, d.palette, d.masks, d.encode);
    Bitmap b;
    std::string why;
    EXPECT_TRUE(Decode_Bmp(file.data(), file.size(), &b, &why)) << d.what << ": " << why;
    EXPECT_EQ(b.width, 2) << d.what;
    EXPECT_EQ(b.height, 2) << d.what;
    EXPECT_EQ(b.pixels, d.expect) << d.what;
  }
}

TEST(Bmp, RejectsJunkWithAReason) {
  auto good = Make_Bmp(24, 0, false, {}, {}, [](std::uint32_t) { return 0x7F7F7Fu; });
  auto patched = [&](std::size_t at, std::uint32_t value) {
    auto copy = good;
    for (int i = 0; i < 4; ++i) copy[at + i] = std::uint8_t(value >> (8 * i));
    return copy;
  };
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> cases = {
      {"empty", {}},
      {"not a bitmap", std::vector<std::uint8_t>(64, 'x')},
      {"header only", std::vector<std::uint8_t>(good.begin(), good.begin() + 20)},
      {"pixels cut short", std::vector<std::uint8_t>(good.begin(), good.end() - 1)},
      {"RLE8", patched(30, 1)},
      {"huge width", patched(18, 0x7FFFFFFF)},
      {"huge height", patched(22, 0x80000000u)},
      {"zero width", patched(18, 0)},
      {"bits offset past end", patched(10, 0xFFFFFFF0u)},
      {"odd header size", patched(14, 7)},
      {"7 bits per pixel", patched(28, 7)},  // no compression still in the next two bytes
  };
  auto short_palette = Make_Bmp(8, 0, false, kPalette, {}, Index_Of);
  short_palette.resize(14 + 40 + 6);
  cases.push_back({"palette cut short", short_palette});
  for (auto& [name, bytes] : cases) {
    Bitmap b;
    std::string why;
    EXPECT_FALSE(Decode_Bmp(bytes.data(), bytes.size(), &b, &why)) << name;
    EXPECT_FALSE(why.empty()) << name;
    EXPECT_EQ(b.width, 0) << name;
  }
}

// The road a sheet takes in the game: a file through LoadImageA and a memory DC, then BitBlt
// onto a surface in 5-6-5, every object freed once and only once.
TEST_F(DisplayTest, BitmapFileReachesASurfaceIn565) {
  // White is swapped for a grey below one step of each channel, which must come out black.
  const auto file =
      Make_Bmp(24, 0, false, {}, {}, [](std::uint32_t c) { return c == 0xFFFFFF ? 0x070307u : c; });
  const TempDir dir;
  dir.Write("zorvex_gdi_test.bmp", std::string(file.begin(), file.end()));
  Set_Data_Dir(dir.path);
  HGDIOBJ bmp = LoadImageA(nullptr, "zorvex_gdi_test.bmp", IMAGE_BITMAP, 0, 0,
                           LR_LOADFROMFILE | LR_CREATEDIBSECTION);
  EXPECT_EQ(LoadImageA(nullptr, "no-such-file.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
  Set_Data_Dir("");
  ASSERT_NE(bmp, nullptr);
  BITMAP info{};
  ASSERT_EQ(GetObjectA(bmp, sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmWidth, 2);
  EXPECT_EQ(info.bmHeight, 2);
  EXPECT_EQ(GetObjectA(nullptr, sizeof info, nullptr), 0);
  EXPECT_EQ(GetObjectA(GetStockObject(BLACK_BRUSH), sizeof info, &info), 0);

  auto* sheet = Sheet(2, 2, std::vector<std::uint16_t>(4, 0xFFFF));
  HDC mem = CreateCompatibleDC(nullptr);
  ASSERT_NE(mem, nullptr);
  HGDIOBJ old = SelectObject(mem, bmp);
  ASSERT_NE(old, nullptr) << "a fresh DC holds a stock bitmap";
  HDC dc = nullptr;
  ASSERT_EQ(sheet->GetDC(&dc), DD_OK);
  EXPECT_TRUE(BitBlt(dc, 0, 0, 2, 2, mem, 0, 0, SRCCOPY));
  EXPECT_EQ(sheet->ReleaseDC(dc), DD_OK);
  EXPECT_FALSE(DeleteObject(bmp)) << "still selected";
  EXPECT_EQ(SelectObject(mem, old), bmp);
  EXPECT_TRUE(DeleteDC(mem));
  EXPECT_TRUE(DeleteObject(bmp));
  EXPECT_FALSE(DeleteObject(bmp)) << "already gone";
  EXPECT_EQ(test_double::TestBackend::Pixels_Of(sheet),
            (std::vector<std::uint16_t>{0xF800, 0x07E0, 0x001F, 0x0000}));
}

}  // namespace
}  // namespace zorvex::testing
