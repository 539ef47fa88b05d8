// A small buffered reader for RIFF files: open, read, seek, descend into a chunk, ascend out of
// it, and direct access to the read buffer. Results and error codes keep the values of the
// Windows multimedia file functions, so callers written against those read the same.
#pragma once

#include <cstdint>

namespace zorvex {

using FOURCC = std::uint32_t;

constexpr FOURCC Make_Fourcc(char a, char b, char c, char d) {
  return static_cast<std::uint8_t>(a) | static_cast<std::uint8_t>(b) << 8 |
         static_cast<std::uint8_t>(c) << 16 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(d)) << 24;
}

constexpr FOURCC FOURCC_RIFF = Make_Fourcc('R', 'I', 'F', 'F');
constexpr FOURCC FOURCC_LIST = Make_Fourcc('L', 'I', 'S', 'T');

// Open and chunk flags.
constexpr std::uint32_t MMIO_READ = 0x00000000;
constexpr std::uint32_t MMIO_WRITE = 0x00000001;
constexpr std::uint32_t MMIO_READWRITE = 0x00000002;
constexpr std::uint32_t MMIO_ALLOCBUF = 0x00010000;
constexpr std::uint32_t MMIO_FINDCHUNK = 0x0010;
constexpr std::uint32_t MMIO_FINDRIFF = 0x0020;
constexpr std::uint32_t MMIO_FINDLIST = 0x0040;

// Error results.
constexpr int MMIOERR_BASE = 256;
constexpr int MMIOERR_FILENOTFOUND = MMIOERR_BASE + 1;
constexpr int MMIOERR_OUTOFMEMORY = MMIOERR_BASE + 2;
constexpr int MMIOERR_CANNOTOPEN = MMIOERR_BASE + 3;
constexpr int MMIOERR_CANNOTCLOSE = MMIOERR_BASE + 4;
constexpr int MMIOERR_CANNOTREAD = MMIOERR_BASE + 5;
constexpr int MMIOERR_CANNOTWRITE = MMIOERR_BASE + 6;
constexpr int MMIOERR_CANNOTSEEK = MMIOERR_BASE + 7;
constexpr int MMIOERR_CANNOTEXPAND = MMIOERR_BASE + 8;
constexpr int MMIOERR_CHUNKNOTFOUND = MMIOERR_BASE + 9;
constexpr int MMIOERR_UNBUFFERED = MMIOERR_BASE + 10;
constexpr int MMIOERR_INVALIDFILE = MMIOERR_BASE + 16;

constexpr int MMIO_DEFAULTBUFFER = 8192;

struct MMCKINFO {
  FOURCC ckid;
  std::uint32_t cksize;
  FOURCC fccType;              // form or list type of a "RIFF" or "LIST" chunk
  std::uint32_t dwDataOffset;  // file offset of the chunk's contents
  std::uint32_t dwFlags;
};

// The state of a file's read buffer. Bytes from pchNext up to pchEndRead are read but not yet
// consumed; lBufOffset is the file offset of pchBuffer[0].
struct MMIOINFO {
  std::uint32_t dwFlags;
  std::int32_t cchBuffer;
  char* pchBuffer;
  char* pchNext;
  char* pchEndRead;
  std::int64_t lBufOffset;
  std::int64_t lDiskOffset;  // file offset of pchEndRead
};

struct RiffFile;
using HMMIO = RiffFile*;

// Opens a data file (named as the game names it) for buffered reading; null when it cannot be
// opened or writing was asked for.
HMMIO Riff_Open(const char* file_name, std::uint32_t flags);
int Riff_Close(HMMIO file, std::uint32_t flags);
// The count of bytes read (fewer at the end of the file), or -1 on a read error.
std::int32_t Riff_Read(HMMIO file, void* dest, std::int32_t bytes);
// The new file position, or -1. Seeking past the end is allowed; reads there find nothing.
std::int64_t Riff_Seek(HMMIO file, std::int64_t offset, int origin);
// Reads a chunk header at the current position, or with MMIO_FINDCHUNK (ckid), MMIO_FINDRIFF or
// MMIO_FINDLIST (fccType) searches forward, inside `parent` when given, for a matching chunk.
// Leaves the file at the chunk's contents (behind the type of a "RIFF" or "LIST" chunk).
int Riff_Descend(HMMIO file, MMCKINFO* chunk, const MMCKINFO* parent, std::uint32_t flags);
// Moves the file to the end of the chunk, behind its pad byte when its size is odd.
int Riff_Ascend(HMMIO file, MMCKINFO* chunk, std::uint32_t flags);
int Riff_Get_Info(HMMIO file, MMIOINFO* info, std::uint32_t flags);
// Takes back a buffer state from Riff_Get_Info / Riff_Advance after the caller consumed bytes.
int Riff_Set_Info(HMMIO file, const MMIOINFO* info, std::uint32_t flags);
// Refills the buffer from the file (MMIO_READ). At the end of the file the buffer stays empty.
int Riff_Advance(HMMIO file, MMIOINFO* info, std::uint32_t flags);

// The file's length in bytes when it was opened.
std::int64_t Riff_File_Size(HMMIO file);
// For tests: the files opened here and not yet closed.
int Riff_Open_Files();

}  // namespace zorvex
