// Writes the game's sprite sheets, sound effects and music into one directory.
//   zorvex-assetgen OUT_DIR FONT_DIR
//   zorvex-assetgen --icons OUT_DIR [SIZE...]   the icon as OUT_DIR/zorvex-SIZE.png, in every
//                                               size the desktop takes or in those given
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "host/png_encode.h"
#include "tools/assetgen/audio.h"
#include "tools/assetgen/icon.h"
#include "tools/assetgen/sheets.h"

namespace {

bool Save_Sheet(const std::string& path, const assetgen::Image& img, int dx, int dy, int dw,
                int dh) {
  if (assetgen::Write_File(path, img.Encode(dx, dy, dw, dh))) return true;
  std::fprintf(stderr, "zorvex-assetgen: cannot write %s\n", path.c_str());
  return false;
}

int Write_Icons(const std::string& out, const std::vector<int>& sizes) {
  for (int size : sizes) {
    const std::string path = out + "/zorvex-" + std::to_string(size) + ".png";
    const std::vector<std::uint8_t> rgba = assetgen::Draw_Icon(size);
    if (!assetgen::Write_File(path, host::Encode_Png(rgba.data(), size, size, 4))) {
      std::fprintf(stderr, "zorvex-assetgen: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--icons") == 0) {
    std::vector<int> sizes(std::begin(assetgen::kIconSizes), std::end(assetgen::kIconSizes));
    if (argc > 3) sizes.clear();
    for (int i = 3; i < argc; ++i) {
      const int size = std::atoi(argv[i]);
      if (size < 1 || size > 1024) {
        std::fprintf(stderr, "zorvex-assetgen: no icon of size %s\n", argv[i]);
        return 2;
      }
      sizes.push_back(size);
    }
    return Write_Icons(argv[2], sizes);
  }
  if (argc != 3) {
    std::fprintf(stderr, "usage: zorvex-assetgen OUT_DIR FONT_DIR | --icons OUT_DIR [SIZE...]\n");
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
