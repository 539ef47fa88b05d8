// Reads a RIFF WAVE file whole into memory: its format record and its sample bytes.
#pragma once

#include <cstdint>

#include "platform/dsound.h"
#include "sound/riff_reader.h"

namespace zorvex {

// Result codes: 0 is success. The RIFF reader's codes (MMIOERR_*) are passed through unchanged.
constexpr int WAVE_ERR_NO_MEMORY = 0xE000;  // the format record or the samples could not be had
constexpr int WAVE_ERR_OPEN = 0xE100;       // the file could not be opened
constexpr int WAVE_ERR_FORMAT = 0xE101;     // not a RIFF WAVE file, or a malformed "fmt " chunk
constexpr int WAVE_ERR_READ = 0xE102;       // the format bytes or the extra count cut short
constexpr int WAVE_ERR_CORRUPT = 0xE103;    // the file ends inside the data chunk

// Opens the file and reads its format record (a GlobalAlloc block of 18 + cbSize bytes) into
// *format; on success the file is left open at the end of the "fmt " chunk.
int Wave_Open(const char* file_name, HMMIO* handle, plat::WAVEFORMATEX** format, MMCKINFO* riff);
// Finds the "data" chunk inside `riff`, wherever it lies, and stops at its first byte.
int Wave_Seek_Data(HMMIO handle, MMCKINFO* data, MMCKINFO* riff);
// Copies up to `wanted` bytes of the data chunk straight from the file's buffer; the chunk's
// cksize counts what is still to be read. Returns 1 when the buffer state cannot be had.
int Wave_Read(HMMIO handle, std::uint32_t wanted, std::uint8_t* dest, MMCKINFO* data,
              std::uint32_t* bytes_read);
// Reads a whole file. On success the caller owns *format and *samples (free both with
// GlobalFree); on failure *size is 0, both are null and nothing stays allocated or open.
int Wave_Load(const char* file_name, std::uint32_t* size, plat::WAVEFORMATEX** format,
              std::uint8_t** samples);

}  // namespace zorvex
