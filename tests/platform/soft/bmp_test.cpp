#include "platform/soft/bmp.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

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

// Writes a BITMAPINFOHEADER file. `row` encodes one picture row into its packed bytes.
template <typename RowFn>
std::vector<std::uint8_t> Make_Bmp(int bpp, std::uint32_t compression, bool top_down,
                                   const std::vector<std::uint32_t>& palette,
                                   const std::vector<std::uint32_t>& masks, RowFn row) {
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
    int picture_row = top_down ? y : h - 1 - y;
    std::vector<std::uint8_t> packed = row(&kPicture[picture_row * w]);
    packed.resize(stride, 0);
    b.bytes.insert(b.bytes.end(), packed.begin(), packed.end());
  }
  return b.bytes;
}

Bitmap Decode_Ok(const std::vector<std::uint8_t>& file) {
  Bitmap bitmap;
  std::string why;
  EXPECT_TRUE(Decode_Bmp(file.data(), file.size(), &bitmap, &why)) << why;
  return bitmap;
}

// The 2x2 picture exactly, or what came out instead.
::testing::AssertionResult Is_Picture(const Bitmap& b) {
  if (b.width == 2 && b.height == 2 &&
      b.pixels == std::vector<std::uint32_t>(kPicture, kPicture + 4))
    return ::testing::AssertionSuccess();
  auto failure = ::testing::AssertionFailure() << b.width << "x" << b.height << ":";
  for (std::uint32_t p : b.pixels) failure << " " << std::hex << p;
  return failure;
}

int Index_Of(std::uint32_t rgb) {
  for (int i = 0; i < 4; ++i)
    if (kPicture[i] == rgb) return i;
  return 0;
}

const std::vector<std::uint32_t> kPalette(kPicture, kPicture + 4);

TEST(Bmp, PalettedDepthsBothOrientations) {
  for (bool top_down : {false, true}) {
    auto eight = Make_Bmp(8, 0, top_down, kPalette, {}, [](const std::uint32_t* px) {
      return std::vector<std::uint8_t>{std::uint8_t(Index_Of(px[0])),
                                       std::uint8_t(Index_Of(px[1]))};
    });
    EXPECT_TRUE(Is_Picture(Decode_Ok(eight)));
    auto four = Make_Bmp(4, 0, top_down, kPalette, {}, [](const std::uint32_t* px) {
      return std::vector<std::uint8_t>{std::uint8_t(Index_Of(px[0]) << 4 | Index_Of(px[1]))};
    });
    EXPECT_TRUE(Is_Picture(Decode_Ok(four)));
  }
}

TEST(Bmp, OneBitUsesItsTwoColours) {
  // Bit 7 is the leftmost pixel.
  auto file = Make_Bmp(1, 0, false, {0x000000, 0xFFFFFF}, {}, [](const std::uint32_t* px) {
    return std::vector<std::uint8_t>{std::uint8_t(px[0] == 0xFF0000 ? 0x40 : 0x80)};
  });
  Bitmap b = Decode_Ok(file);
  EXPECT_EQ(b.pixels, (std::vector<std::uint32_t>{0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000}));
}

TEST(Bmp, IndexPastShortPaletteReadsBlack) {
  auto file = Make_Bmp(8, 0, true, {0x123456}, {}, [](const std::uint32_t*) {
    return std::vector<std::uint8_t>{0, 200};
  });
  Bitmap b = Decode_Ok(file);
  EXPECT_EQ(b.pixels[0], 0x123456u);
  EXPECT_EQ(b.pixels[1], 0u);
}

TEST(Bmp, TrueColourDepths) {
  auto bgr = [](std::uint32_t c) {
    return std::vector<std::uint8_t>{std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16)};
  };
  auto file24 = Make_Bmp(24, 0, false, {}, {}, [&](const std::uint32_t* px) {
    auto row = bgr(px[0]);
    auto second = bgr(px[1]);
    row.insert(row.end(), second.begin(), second.end());
    return row;
  });
  EXPECT_TRUE(Is_Picture(Decode_Ok(file24)));

  auto word32 = [](std::uint32_t v, std::vector<std::uint8_t>* out) {
    for (int i = 0; i < 4; ++i) out->push_back(std::uint8_t(v >> (8 * i)));
  };
  auto file32 = Make_Bmp(32, 0, true, {}, {}, [&](const std::uint32_t* px) {
    std::vector<std::uint8_t> row;
    word32(px[0] | 0xAA000000u, &row);  // the unused byte must be ignored
    word32(px[1], &row);
    return row;
  });
  EXPECT_TRUE(Is_Picture(Decode_Ok(file32)));

  // Bitfields with the channels in an unusual order: blue high, red low.
  auto swapped = Make_Bmp(32, 3, false, {}, {0x000000FF, 0x0000FF00, 0x00FF0000},
                          [&](const std::uint32_t* px) {
                            std::vector<std::uint8_t> row;
                            for (int i = 0; i < 2; ++i) {
                              std::uint32_t c = px[i];
                              word32(((c >> 16) & 0xFF) | (c & 0xFF00) | ((c & 0xFF) << 16), &row);
                            }
                            return row;
                          });
  EXPECT_TRUE(Is_Picture(Decode_Ok(swapped)));
}

TEST(Bmp, SixteenBitFormats) {
  auto pack = [](std::uint32_t c, int rbits, int gbits, int bbits) {
    std::uint32_t r = (c >> 16 & 0xFF) >> (8 - rbits), g = (c >> 8 & 0xFF) >> (8 - gbits),
                  b = (c & 0xFF) >> (8 - bbits);
    return (r << (gbits + bbits)) | (g << bbits) | b;
  };
  auto row_of = [&](int g) {
    return [&pack, g](const std::uint32_t* px) {
      std::vector<std::uint8_t> row;
      for (int i = 0; i < 2; ++i) {
        std::uint32_t v = pack(px[i], 5, g, 5);
        row.push_back(std::uint8_t(v)), row.push_back(std::uint8_t(v >> 8));
      }
      return row;
    };
  };
  EXPECT_TRUE(Is_Picture(Decode_Ok(Make_Bmp(16, 0, false, {}, {}, row_of(5)))));
  EXPECT_TRUE(
      Is_Picture(Decode_Ok(Make_Bmp(16, 3, true, {}, {0xF800, 0x07E0, 0x001F}, row_of(6)))));
}

TEST(Bmp, RejectsJunkWithAReason) {
  auto good = Make_Bmp(24, 0, false, {}, {},
                       [](const std::uint32_t*) { return std::vector<std::uint8_t>(6, 0x7F); });
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
  };
  auto odd_depth = good;
  odd_depth[28] = 7;
  cases.push_back({"7 bits per pixel", odd_depth});
  auto short_palette = Make_Bmp(8, 0, false, kPalette, {}, [](const std::uint32_t*) {
    return std::vector<std::uint8_t>{0, 1};
  });
  short_palette.resize(14 + 40 + 6);
  cases.push_back({"palette cut short", short_palette});
  for (auto& [name, bytes] : cases) {
    Bitmap b;
    std::string why;
    EXPECT_FALSE(Decode_Bmp(bytes.data(), bytes.size(), &b, &why)) << name;
    EXPECT_FALSE(why.empty()) << name;
    EXPECT_EQ(b.width, 0) << name;
  }
  Bitmap b;
  std::string why;
  EXPECT_FALSE(plat::soft::Load_Bmp_File("/nonexistent/zorvex.bmp", &b, &why));
  EXPECT_FALSE(why.empty());
}

TEST(Bmp, To565) {
  EXPECT_EQ(plat::soft::To_565(0xFFFFFF), 0xFFFF);
  EXPECT_EQ(plat::soft::To_565(0xFF0000), 0xF800);
  EXPECT_EQ(plat::soft::To_565(0x00FF00), 0x07E0);
  EXPECT_EQ(plat::soft::To_565(0x0000FF), 0x001F);
  EXPECT_EQ(plat::soft::To_565(0x070307), 0);  // below one step of each channel is black
}

}  // namespace
