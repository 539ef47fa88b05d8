// Loads any bytes as a sprite sheet the way the game does (Load_Bitmap_Surface on the soft
// backend: the file, a GDI bitmap, an offscreen surface, two device contexts and a BitBlt).
// The first byte may make one step of that road fail, so the clean-up of every failure runs
// under the sanitizers too. A sheet that loads must hold exactly the decoded picture in 5-6-5.
#include <cstdint>
#include <vector>

#include "gfx/display.h"
#include "gfx/sprites.h"
#include "platform/soft/bmp.h"
#include "platform/test_double/test_backend.h"
#include "tests/fuzz/harness.h"

namespace {

// The steps of a sheet load that can fail; a first byte past the list fails none.
constexpr const char* kSteps[] = {"LoadImageA",
                                  "GetObjectA",
                                  "IDirectDraw4::CreateSurface",
                                  "IDirectDrawSurface4::SetColorKey",
                                  "CreateCompatibleDC",
                                  "SelectObject",
                                  "IDirectDrawSurface4::GetDC",
                                  "BitBlt",
                                  "IDirectDrawSurface4::ReleaseDC",
                                  "DeleteDC",
                                  "DeleteObject"};
constexpr int kStepCount = sizeof(kSteps) / sizeof(kSteps[0]);
constexpr plat::HRESULT kFault = static_cast<plat::HRESULT>(0x80004005u);

struct World {
  plat::test_double::TestBackend backend{plat::test_double::TestBackend::Options{0, false, false}};
  World() {
    plat::IDirectDraw* first = nullptr;
    Check(plat::DirectDrawCreate(nullptr, &first, nullptr) == plat::DD_OK, "no DirectDraw");
    Check(first->QueryInterface(plat::IID_IDirectDraw4, reinterpret_cast<void**>(&zorvex::lpdd)) ==
              plat::DD_OK,
          "no IDirectDraw4");
    first->Release();
  }
  ~World() {
    zorvex::lpdd->Release();
    zorvex::lpdd = nullptr;
  }
};

World& The_World() {
  static World world;
  return world;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  plat::test_double::FaultPlan& faults = The_World().backend.faults();
  const int step = data[0] % 16, nth = 1 + (data[0] >> 4) % 2;
  ++data, --size;
  const char* file = Scratch_File(data, size);  // a plain path: no data folder is set
  faults.Clear();
  if (step < kStepCount) faults.Fail(kSteps[step], kFault, nth);
  plat::IDirectDrawSurface4* sheet = zorvex::Load_Bitmap_Surface(file);
  const bool fault_struck = step < kStepCount && faults.Empty();
  faults.Clear();

  plat::soft::Bitmap picture;
  const bool decodes = plat::soft::Decode_Bmp(data, size, &picture, nullptr);
  if (!sheet) {
    Check(!decodes || fault_struck, "a good bitmap did not load");
    return 0;
  }
  Check(decodes, "a bad bitmap loaded");
  const std::vector<std::uint16_t> pixels = plat::test_double::TestBackend::Pixels_Of(sheet);
  Check(plat::test_double::TestBackend::Width_Of(sheet) == picture.width &&
            plat::test_double::TestBackend::Height_Of(sheet) == picture.height,
        "the sheet's size differs from the picture's");
  for (std::size_t i = 0; i < pixels.size(); ++i)
    Check(pixels[i] == plat::soft::To_565(picture.pixels[i]), "the sheet differs from the picture");
  sheet->Release();
  return 0;
}
