// The text font, rasterised at build time (tools/fontgen) into 8-bit coverage maps.
#pragma once

#include <cstdint>

namespace plat::soft {

struct Glyph {
  std::int16_t advance;  // pen movement to the next character
  std::int16_t left;     // from the pen to the map's first column
  std::int16_t top;      // from the line's top to the map's first row
  std::int16_t width, height;
  std::uint32_t offset;  // into FONT_COVERAGE, width * height bytes, rows top first
};

constexpr int FIRST_GLYPH = 32;  // printable ASCII, space to tilde
constexpr int GLYPH_COUNT = 95;

extern const int FONT_LINE_HEIGHT;
extern const Glyph FONT_GLYPHS[GLYPH_COUNT];
extern const std::uint8_t FONT_COVERAGE[];

}  // namespace plat::soft
