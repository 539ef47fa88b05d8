// Writes the game's sprite sheets, sound effects and music into one directory.
//   zorvex-assetgen OUT_DIR FONT_DIR
#include <cstdio>
#include <string>

#include "tools/assetgen/audio.h"
#include "tools/assetgen/sheets.h"

namespace {

bool Save_Sheet(const std::string& path, const assetgen::Image& img, int dx, int dy, int dw,
                int dh) {
  if (assetgen::Write_File(path, img.Encode(dx, dy, dw, dh))) return true;
  std::fprintf(stderr, "zorvex-assetgen: cannot write %s\n", path.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: zorvex-assetgen OUT_DIR FONT_DIR\n");
    return 2;
  }
  const std::string out = argv[1], fonts = argv[2];
  bool ok = true;
  // Only the tiles are dithered: their gentle gradients band at 16 bits; sprites stay crisp.
  ok &= Save_Sheet(out + "/gfx.bmp", assetgen::Make_Gfx_Sheet(), 0, 0, 128, 192);
  ok &= Save_Sheet(out + "/ui.bmp", assetgen::Make_Ui_Sheet(fonts), 0, 0, 0, 0);
  ok &= assetgen::Write_Sounds(out);
  return ok ? 0 : 1;
}
