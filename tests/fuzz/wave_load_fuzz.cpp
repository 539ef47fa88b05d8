// Feeds any bytes at all to the WAV reader as a file: it must answer with a code, hand out
// nothing on failure, free what it hands out, and leave no file open.
#include <cstdint>

#include "platform/test_double/test_backend.h"
#include "sound/riff_reader.h"
#include "sound/wave_reader.h"
#include "tests/fuzz/harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The seam's test layer hands out the reader's blocks and counts them.
  static plat::test_double::TestBackend backend{{0, false, false}};
  const char* file = Scratch_File(data, size);
  std::uint32_t bytes = 0;
  plat::WAVEFORMATEX* format = nullptr;
  std::uint8_t* samples = nullptr;
  int code = zorvex::Wave_Load(file, &bytes, &format, &samples);
  Check(zorvex::Riff_Open_Files() == 0, "a file was left open");
  if (code == 0) {
    Check(format && samples, "success without both blocks");
    Check(bytes <= size, "more samples than the file holds");
    volatile std::uint8_t touch = 0;
    for (std::uint32_t i = 0; i < bytes; ++i) touch = touch ^ samples[i];  // every byte readable
    for (std::uint16_t i = 0; i < format->cbSize; ++i)
      touch = touch ^ reinterpret_cast<const std::uint8_t*>(format + 1)[i];
    plat::GlobalFree(format);
    plat::GlobalFree(samples);
  } else {
    Check(!format && !samples && bytes == 0, "a failure handed something out");
  }
  Check(backend.Live_Blocks() == 0, "a block was leaked");
  return 0;
}
