// Whole files on a POSIX system: mkstemp, fsync, then a rename, and the folder synced after it.
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/files/whole_file.h"

namespace plat::files {

namespace {

std::string Reason(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

bool Write_All(int fd, const char* data, std::size_t size) {
  for (std::size_t done = 0; done < size;) {
    const ssize_t n = ::write(fd, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = ENOSPC;  // a disk that takes nothing more is full
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// A kept file is readable by all whatever the umask; mkstemp made the temporary readable by its
// owner alone, and a picture is for anyone the umask allows.
mode_t Mode_For(Replace replace) {
  if (replace == Replace::OLD_FILE) return 0644;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// Renames without replacing; some file systems cannot refuse in one step, but a hard link can.
bool Rename_New(const char* from, const char* to) {
#ifdef RENAME_NOREPLACE  // not in the browser's C library, which writes no pictures
  if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
#endif
  if (::link(from, to) != 0) return false;
  ::unlink(from);
  return true;
}

}  // namespace

Written Write_Whole_File(const std::string& path, const void* data, std::size_t size,
                         Replace replace, std::string* error) {
  std::string temp = path + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return *error = Reason("cannot create a file there"), Written::FAILED;
  // A file the disk took only in part can still fail on its way out of the cache.
  bool ok = ::fchmod(fd, Mode_For(replace)) == 0 &&
            Write_All(fd, static_cast<const char*>(data), size) && ::fsync(fd) == 0;
  if (!ok) *error = Reason("cannot write");
  if (::close(fd) != 0 && ok) ok = false, *error = Reason("cannot write");
  bool taken = false;
  if (ok && !(replace == Replace::OLD_FILE ? ::rename(temp.c_str(), path.c_str()) == 0
                                           : Rename_New(temp.c_str(), path.c_str())))
    ok = false, taken = errno == EEXIST, *error = Reason("cannot name the file");
  if (!ok) {
    ::unlink(temp.c_str());
    return taken ? Written::NAME_TAKEN : Written::FAILED;
  }
  const std::size_t slash = path.rfind('/');
  Sync_Folder(slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash));
  return Written::WRITTEN;
}

void Sync_Folder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace plat::files
