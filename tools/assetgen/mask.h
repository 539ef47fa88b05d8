// Coverage masks: rendered text and the outlines and glows built around it.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

struct Mask {
  int w = 0, h = 0;
  std::vector<float> a;  // coverage 0..1, row by row
  float At(int x, int y) const { return x < 0 || y < 0 || x >= w || y >= h ? 0.0f : a[y * w + x]; }
};

Mask Make_Mask(int w, int h);

// Renders one line of text with a TrueType font into a mask of w x h, the ink box centred
// horizontally (when centre is true, else starting at x = left) with its baseline on row
// `baseline`. `tracking` adds pixels between letters. Returns an empty mask on failure.
struct Text_Style {
  std::string font;
  float size_px = 16;
  float tracking = 0;
  float stretch_x = 1;  // horizontal scale of the outlines
};
Mask Render_Text(const Text_Style& style, const std::string& text, int w, int h, int baseline,
                 bool centre, int left = 0);

// The ink's bounding box: the first and last columns and rows with coverage above `min`.
struct Box {
  int x0 = 0, y0 = 0, x1 = -1, y1 = -1;
};
Box Ink_Box(const Mask& m, float min);

Mask Dilate(const Mask& m, int radius);  // round structuring element, max of coverage
Mask Blur(const Mask& m, int radius);    // box blur, three passes

}  // namespace assetgen
