// zorvex-wavinfo FILE...: reads each file with the game's own WAV reader and says what it found,
// so that a player who makes their own sounds can check that the game will take them.
#include <cstdint>
#include <cstdio>
#include <memory>

#include "platform/os.h"
#include "platform/soft/soft_os.h"
#include "sound/wave_reader.h"

namespace {

// One line for one file; true when it loaded.
bool Describe(const char* name) {
  std::uint32_t size = 0;
  plat::WAVEFORMATEX* format = nullptr;
  std::uint8_t* samples = nullptr;
  int code = zorvex::Wave_Load(name, &size, &format, &samples);
  if (code != 0) {
    std::printf("%s: code=0x%X\n", name, static_cast<unsigned>(code));
    return false;
  }
  std::printf("%s: code=0 size=%u tag=%u channels=%u rate=%u avg=%u align=%u bits=%u cbsize=%u\n",
              name, size, format->wFormatTag, format->nChannels, format->nSamplesPerSec,
              format->nAvgBytesPerSec, format->nBlockAlign, format->wBitsPerSample, format->cbSize);
  plat::GlobalFree(format);
  plat::GlobalFree(samples);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: zorvex-wavinfo FILE...\n");
    return 2;
  }
  // The reader's memory blocks come through the seam: the headless backend, without sound.
  const std::unique_ptr<plat::Os> backend =
      plat::soft::Make_Soft_Os(plat::soft::Make_Headless_Host(false));
  plat::Use_Os(backend.get());
  bool all_loaded = true;
  for (int i = 1; i < argc; ++i) all_loaded = Describe(argv[i]) && all_loaded;
  return all_loaded ? 0 : 1;
}
