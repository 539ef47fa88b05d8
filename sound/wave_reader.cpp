#include "sound/wave_reader.h"

#include <bit>
#include <cstdio>
#include <cstring>

#include "platform/os.h"

namespace zorvex {

static_assert(std::endian::native == std::endian::little, "WAV records are read as they lie");

namespace {

constexpr FOURCC FOURCC_WAVE = Make_Fourcc('W', 'A', 'V', 'E');
constexpr FOURCC FOURCC_FMT = Make_Fourcc('f', 'm', 't', ' ');
constexpr FOURCC FOURCC_DATA = Make_Fourcc('d', 'a', 't', 'a');
constexpr std::uint32_t FORMAT_HEAD = 16;  // the fields before cbSize
constexpr std::uint32_t RECORD_HEAD = sizeof(plat::WAVEFORMATEX);

// The extra-format count lives inside the "fmt " chunk or not at all: a chunk too short to hold
// it has none, rather than borrowing bytes from whatever follows.
int Read_Extra_Count(HMMIO file, const MMCKINFO& fmt, std::uint16_t tag, std::uint16_t* extra) {
  *extra = 0;
  if (tag == plat::WAVE_FORMAT_PCM || fmt.cksize < RECORD_HEAD) return 0;
  if (Riff_Read(file, extra, 2) != 2) return WAVE_ERR_READ;
  if (RECORD_HEAD + *extra > fmt.cksize) return WAVE_ERR_FORMAT;
  return 0;
}

// Steps 3 to 12 of opening: the RIFF header, the "fmt " chunk and the format record.
int Read_Format(HMMIO file, plat::WAVEFORMATEX** format, MMCKINFO* riff) {
  int code = Riff_Descend(file, riff, nullptr, 0);
  if (code != 0) return code;
  if (riff->ckid != FOURCC_RIFF || riff->fccType != FOURCC_WAVE) return WAVE_ERR_FORMAT;
  MMCKINFO fmt{};
  fmt.ckid = FOURCC_FMT;
  code = Riff_Descend(file, &fmt, riff, MMIO_FINDCHUNK);
  if (code != 0) return code;
  if (fmt.cksize < FORMAT_HEAD) return WAVE_ERR_FORMAT;
  plat::WAVEFORMATEX head{};
  if (Riff_Read(file, &head, FORMAT_HEAD) != static_cast<std::int32_t>(FORMAT_HEAD))
    return WAVE_ERR_READ;
  std::uint16_t extra = 0;
  code = Read_Extra_Count(file, fmt, head.wFormatTag, &extra);
  if (code != 0) return code;
  *format =
      static_cast<plat::WAVEFORMATEX*>(plat::GlobalAlloc(plat::GMEM_FIXED, RECORD_HEAD + extra));
  if (!*format) return WAVE_ERR_NO_MEMORY;
  std::memcpy(*format, &head, FORMAT_HEAD);
  (*format)->cbSize = extra;
  if (extra != 0 && Riff_Read(file, reinterpret_cast<char*>(*format) + RECORD_HEAD, extra) != extra)
    return WAVE_ERR_FORMAT;
  return Riff_Ascend(file, &fmt, 0);
}

template <typename T>
void Free_Block(T** block) {
  if (*block) plat::GlobalFree(*block);
  *block = nullptr;
}

// Bytes of the file from the current position to its end.
std::int64_t Bytes_Left(HMMIO file) {
  std::int64_t at = Riff_Seek(file, 0, SEEK_CUR);
  return at < 0 ? 0 : Riff_File_Size(file) - at;
}

}  // namespace

int Wave_Open(const char* file_name, HMMIO* handle, plat::WAVEFORMATEX** format, MMCKINFO* riff) {
  *format = nullptr;
  *handle = nullptr;
  HMMIO file = Riff_Open(file_name, MMIO_ALLOCBUF | MMIO_READ);
  if (!file) return WAVE_ERR_OPEN;
  int code = Read_Format(file, format, riff);
  if (code != 0) {
    Free_Block(format);
    Riff_Close(file, 0);
    return code;
  }
  *handle = file;
  return 0;
}

int Wave_Seek_Data(HMMIO handle, MMCKINFO* data, MMCKINFO* riff) {
  Riff_Seek(handle, static_cast<std::int64_t>(riff->dwDataOffset) + 4, SEEK_SET);
  data->ckid = FOURCC_DATA;
  return Riff_Descend(handle, data, riff, MMIO_FINDCHUNK);
}

int Wave_Read(HMMIO handle, std::uint32_t wanted, std::uint8_t* dest, MMCKINFO* data,
              std::uint32_t* bytes_read) {
  *bytes_read = 0;
  MMIOINFO info;
  if (Riff_Get_Info(handle, &info, 0) != 0) return 1;
  std::uint32_t n = wanted < data->cksize ? wanted : data->cksize;
  data->cksize -= n;
  for (std::uint32_t done = 0; done < n;) {
    if (info.pchNext == info.pchEndRead) {
      int code = Riff_Advance(handle, &info, MMIO_READ);
      if (code != 0) return code;
      if (info.pchNext == info.pchEndRead) return WAVE_ERR_CORRUPT;
    }
    // The bytes go straight out of the file's buffer, a buffer-full at a time.
    std::uint32_t run = static_cast<std::uint32_t>(info.pchEndRead - info.pchNext);
    if (run > n - done) run = n - done;
    std::memcpy(dest + done, info.pchNext, run);
    info.pchNext += run;
    done += run;
  }
  int code = Riff_Set_Info(handle, &info, 0);
  if (code != 0) return code;
  *bytes_read = n;
  return 0;
}

int Wave_Load(const char* file_name, std::uint32_t* size, plat::WAVEFORMATEX** format,
              std::uint8_t** samples) {
  *size = 0;
  *format = nullptr;
  *samples = nullptr;
  HMMIO file = nullptr;
  MMCKINFO riff{}, data{};
  std::uint32_t got = 0;
  int code = Wave_Open(file_name, &file, format, &riff);
  if (code == 0) code = Wave_Seek_Data(file, &data, &riff);
  // A data chunk that claims more than the file holds is refused before anything is allocated
  // for it: a small broken file must not make us ask for gigabytes.
  if (code == 0 && data.cksize > Bytes_Left(file)) code = WAVE_ERR_CORRUPT;
  if (code == 0) {
    *samples = static_cast<std::uint8_t*>(plat::GlobalAlloc(plat::GMEM_FIXED, data.cksize));
    if (!*samples) code = WAVE_ERR_NO_MEMORY;
  }
  if (code == 0) code = Wave_Read(file, data.cksize, *samples, &data, &got);
  if (code != 0) {
    Free_Block(samples);
    Free_Block(format);
    if (file) Riff_Close(file, 0);
    return code;
  }
  *size = got;
  Riff_Close(file, 0);
  return 0;
}

}  // namespace zorvex
