// Feeds any bytes at all to the WAV reader as a file: it must answer with a code, hand out
// nothing on failure, free what it hands out, and leave no file open.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/global_memory.h"
#include "sound/riff_reader.h"
#include "sound/wave_reader.h"
#include "tests/fuzz/check.h"

namespace {

const std::string& Scratch_File() {
  static const std::string path = "/tmp/zorvex_wave_fuzz_" + std::to_string(getpid()) + ".wav";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(Scratch_File().c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  std::uint32_t bytes = 0;
  plat::WAVEFORMATEX* format = nullptr;
  std::uint8_t* samples = nullptr;
  int code = zorvex::Wave_Load(Scratch_File().c_str(), &bytes, &format, &samples);
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
  Check(plat::Global_Live_Blocks() == 0, "a block was leaked");
  return 0;
}
