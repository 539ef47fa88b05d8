// Feeds any bytes to the bitmap decoder: it must answer without reading outside the bytes, and
// a picture it accepts must be as large as it says and no larger than the decoder allows.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/soft/bmp.h"
#include "tests/fuzz/harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  plat::soft::Bitmap bitmap;
  bitmap.width = -7;  // a refused file must leave this as it was
  std::string why;
  if (!plat::soft::Decode_Bmp(data, size, &bitmap, &why)) {
    Check(bitmap.width == -7 && bitmap.pixels.empty(), "a refused file changed the result");
    Check(!why.empty(), "refused without a reason");
    return 0;
  }
  Check(bitmap.width > 0 && bitmap.height > 0, "an empty picture accepted");
  Check(bitmap.width <= 16384 && bitmap.height <= 16384, "an oversized picture accepted");
  Check(bitmap.pixels.size() == static_cast<std::size_t>(bitmap.width) * bitmap.height,
        "pixel count differs from the size");
  for (std::uint32_t px : bitmap.pixels) Check(px <= 0xFFFFFF, "a pixel wider than 24 bits");
  return 0;
}
