// A small RGB canvas for drawing sprite sheets, with colours kept in floats until written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct Rgb {
  float r = 0, g = 0, b = 0;
};

Rgb operator+(Rgb a, Rgb b);
Rgb operator*(Rgb a, float k);
Rgb Mix(Rgb a, Rgb b, float t);
Rgb Hex(std::uint32_t rgb);  // 0xRRGGBB, channels 0..1

float Clamp01(float v);
float Smooth(float e0, float e1, float x);

// One sheet. A pixel is either transparent (exactly black in the file) or visible; a visible
// pixel is written so that it survives the conversion to 5-6-5 as a non-zero value.
class Image {
 public:
  Image(int w, int h);
  int Width() const { return w_; }
  int Height() const { return h_; }

  // Puts a visible pixel (clipped to the canvas).
  void Put(int x, int y, Rgb c);
  // Draws c over whatever is there with coverage a (0..1); a transparent pixel stays
  // transparent when a < 0.5 and otherwise takes c at full strength weighed against black.
  void Blend(int x, int y, Rgb c, float a);
  // Adds light: over a visible pixel the colours add; over a transparent one the result is what
  // the light shows against the black screen, kept only when bright enough to survive 5-6-5.
  void Glow(int x, int y, Rgb c, float a);
  void Clear(int x, int y);
  bool Visible(int x, int y) const;
  Rgb At(int x, int y) const;

  // Quantises and writes a 24-bit bottom-up BMP. `dither` applies a 4 x 4 ordered dither
  // (period 4, so 64-pixel tiles stay seamless) to the rectangle given, else rounds.
  std::vector<std::uint8_t> Encode(int dither_x, int dither_y, int dither_w, int dither_h) const;

 private:
  int w_, h_;
  std::vector<Rgb> px_;
  std::vector<std::uint8_t> on_;
};

// The 24-bit value written for a visible colour, after rounding (or the dither offset) and with
// the darkest colours lifted so that the 5-6-5 form is never 0.
std::uint32_t Quantise(Rgb c, float dither);

bool Write_File(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace assetgen
