#include "sound/riff_reader.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>

#include "platform/data_path.h"

namespace zorvex {

struct RiffFile {
  std::FILE* fp = nullptr;
  std::int64_t size = 0;
  char buffer[MMIO_DEFAULTBUFFER];
  std::int64_t buf_offset = 0;  // file offset of buffer[0]
  char* next = buffer;
  char* end_read = buffer;
};

namespace {

std::atomic<int> open_files{0};

std::int64_t Tell(const RiffFile& f) { return f.buf_offset + (f.next - f.buffer); }

std::uint32_t Le32(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// Reads the next buffer's worth from where the current one ends. False on a read error.
bool Refill(RiffFile& f) {
  std::int64_t disk = f.buf_offset + (f.end_read - f.buffer);
  f.buf_offset = disk;
  f.next = f.end_read = f.buffer;
  if (disk >= f.size) return true;  // the end: nothing more to read
  if (std::fseek(f.fp, static_cast<long>(disk), SEEK_SET) != 0) return false;
  std::size_t got = std::fread(f.buffer, 1, sizeof f.buffer, f.fp);
  if (got == 0 && std::ferror(f.fp)) return false;
  f.end_read = f.buffer + got;
  return true;
}

void Fill_Info(const RiffFile& f, MMIOINFO* info) {
  std::memset(info, 0, sizeof *info);
  info->dwFlags = MMIO_ALLOCBUF;
  info->cchBuffer = static_cast<std::int32_t>(sizeof f.buffer);
  info->pchBuffer = const_cast<char*>(f.buffer);
  info->pchNext = f.next;
  info->pchEndRead = f.end_read;
  info->lBufOffset = f.buf_offset;
  info->lDiskOffset = f.buf_offset + (f.end_read - f.buffer);
}

bool Matches(const MMCKINFO& found, const MMCKINFO& wanted, std::uint32_t flags) {
  if (flags & MMIO_FINDCHUNK) return found.ckid == wanted.ckid;
  if (flags & MMIO_FINDRIFF) return found.ckid == FOURCC_RIFF && found.fccType == wanted.fccType;
  if (flags & MMIO_FINDLIST) return found.ckid == FOURCC_LIST && found.fccType == wanted.fccType;
  return true;
}

// Reads one chunk header at the current position; false when the file holds no whole header.
bool Read_Header(RiffFile& f, MMCKINFO* out) {
  std::int64_t at = Tell(f);
  unsigned char head[8];
  if (Riff_Read(&f, head, 8) != 8) return false;
  if (at + 8 > std::numeric_limits<std::uint32_t>::max()) return false;
  out->ckid = Le32(head);
  out->cksize = Le32(head + 4);
  out->dwDataOffset = static_cast<std::uint32_t>(at + 8);
  out->fccType = 0;
  out->dwFlags = 0;
  if (out->ckid == FOURCC_RIFF || out->ckid == FOURCC_LIST) {
    unsigned char type[4];
    if (Riff_Read(&f, type, 4) != 4) return false;
    out->fccType = Le32(type);
  }
  return true;
}

std::int64_t Chunk_End(const MMCKINFO& c) {
  return static_cast<std::int64_t>(c.dwDataOffset) + c.cksize + (c.cksize & 1);
}

}  // namespace

HMMIO Riff_Open(const char* file_name, std::uint32_t flags) {
  if (!file_name || (flags & (MMIO_WRITE | MMIO_READWRITE))) return nullptr;
  auto* f = new (std::nothrow) RiffFile;
  if (!f) return nullptr;
  f->fp = std::fopen(plat::Data_Path(file_name).c_str(), "rb");
  long size = -1;
  if (f->fp && std::fseek(f->fp, 0, SEEK_END) == 0) size = std::ftell(f->fp);
  // A directory opens on some systems but cannot be read: that is a file we cannot open.
  if (size >= 0 &&
      (std::fseek(f->fp, 0, SEEK_SET) != 0 || (std::fgetc(f->fp) == EOF && std::ferror(f->fp))))
    size = -1;
  if (size < 0) {  // missing, a directory, or not seekable
    if (f->fp) std::fclose(f->fp);
    delete f;
    return nullptr;
  }
  f->size = size;
  ++open_files;
  return f;
}

int Riff_Close(HMMIO file, std::uint32_t /*flags*/) {
  if (!file) return MMIOERR_INVALIDFILE;
  int result = std::fclose(file->fp) == 0 ? 0 : MMIOERR_CANNOTCLOSE;
  delete file;
  --open_files;
  return result;
}

std::int32_t Riff_Read(HMMIO file, void* dest, std::int32_t bytes) {
  if (!file || bytes < 0) return -1;
  auto* out = static_cast<char*>(dest);
  std::int32_t done = 0;
  while (done < bytes) {
    if (file->next == file->end_read) {
      if (!Refill(*file)) return -1;
      if (file->next == file->end_read) break;
    }
    std::int32_t run = static_cast<std::int32_t>(file->end_read - file->next);
    if (run > bytes - done) run = bytes - done;
    std::memcpy(out + done, file->next, static_cast<std::size_t>(run));
    file->next += run;
    done += run;
  }
  return done;
}

std::int64_t Riff_Seek(HMMIO file, std::int64_t offset, int origin) {
  if (!file) return -1;
  std::int64_t base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? Tell(*file) : file->size;
  if (origin != SEEK_SET && origin != SEEK_CUR && origin != SEEK_END) return -1;
  if ((offset > 0 && base > std::numeric_limits<std::int32_t>::max() - offset)) return -1;
  std::int64_t target = base + offset;
  if (target < 0 || target > std::numeric_limits<std::int32_t>::max()) return -1;
  std::int64_t held = file->end_read - file->buffer;
  if (target >= file->buf_offset && target <= file->buf_offset + held) {
    file->next = file->buffer + (target - file->buf_offset);
  } else {  // start an empty buffer there; the next read fills it
    file->buf_offset = target;
    file->next = file->end_read = file->buffer;
  }
  return target;
}

int Riff_Descend(HMMIO file, MMCKINFO* chunk, const MMCKINFO* parent, std::uint32_t flags) {
  if (!file || !chunk) return MMIOERR_INVALIDFILE;
  const std::int64_t limit = parent
                                 ? static_cast<std::int64_t>(parent->dwDataOffset) + parent->cksize
                                 : std::numeric_limits<std::int64_t>::max();
  const MMCKINFO wanted = *chunk;
  for (;;) {
    if (Tell(*file) + 8 > limit) return MMIOERR_CHUNKNOTFOUND;
    MMCKINFO found;
    if (!Read_Header(*file, &found)) return MMIOERR_CHUNKNOTFOUND;
    if (Matches(found, wanted, flags)) {
      *chunk = found;
      return 0;
    }
    if (Riff_Seek(file, Chunk_End(found), SEEK_SET) < 0) return MMIOERR_CHUNKNOTFOUND;
  }
}

int Riff_Ascend(HMMIO file, MMCKINFO* chunk, std::uint32_t /*flags*/) {
  if (!file || !chunk) return MMIOERR_INVALIDFILE;
  return Riff_Seek(file, Chunk_End(*chunk), SEEK_SET) < 0 ? MMIOERR_CANNOTSEEK : 0;
}

int Riff_Get_Info(HMMIO file, MMIOINFO* info, std::uint32_t /*flags*/) {
  if (!file || !info) return MMIOERR_INVALIDFILE;
  Fill_Info(*file, info);
  return 0;
}

int Riff_Set_Info(HMMIO file, const MMIOINFO* info, std::uint32_t /*flags*/) {
  if (!file || !info) return MMIOERR_INVALIDFILE;
  if (info->pchNext < file->buffer || info->pchNext > file->end_read) return MMIOERR_CANNOTSEEK;
  file->next = info->pchNext;
  return 0;
}

int Riff_Advance(HMMIO file, MMIOINFO* info, std::uint32_t flags) {
  if (!file) return MMIOERR_INVALIDFILE;
  if (flags != MMIO_READ) return MMIOERR_CANNOTWRITE;
  if (!Refill(*file)) return MMIOERR_CANNOTREAD;
  if (info) Fill_Info(*file, info);
  return 0;
}

std::int64_t Riff_File_Size(HMMIO file) { return file ? file->size : 0; }

int Riff_Open_Files() { return open_files.load(); }

}  // namespace zorvex
