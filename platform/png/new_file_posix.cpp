// Whole-or-nothing files on Linux: mkstemp, fsync, then a rename that refuses to replace.
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/png/png_file.h"

namespace plat::png {

namespace {

std::string Reason(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

}  // namespace

bool Write_New_File(const std::string& path, const std::vector<std::uint8_t>& bytes,
                    std::string* error) {
  std::string temp = path + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) {
    *error = Reason("cannot create a file there");
    return false;
  }
  bool ok = true;
  std::size_t done = 0;
  while (ok && done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      *error = Reason("cannot write");
      ok = false;
    } else {
      done += static_cast<std::size_t>(n);
    }
  }
  // A file the disk took only in part can still fail on its way out of the cache.
  if (ok && fsync(fd) != 0) *error = Reason("cannot write"), ok = false;
  if (close(fd) != 0 && ok) *error = Reason("cannot write"), ok = false;
  // mkstemp made it readable by its owner alone; a picture is for anyone the umask allows.
  if (ok) {
    mode_t mask = umask(0);
    umask(mask);
    chmod(temp.c_str(), 0666 & ~mask);
  }
  if (ok && renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) != 0) {
    // Some file systems cannot refuse to replace in one step; a hard link can.
    if (errno == EINVAL || errno == ENOSYS) {
      if (link(temp.c_str(), path.c_str()) != 0)
        *error = Reason("cannot name the file"), ok = false;
      else
        unlink(temp.c_str());
    } else {
      *error = Reason("cannot name the file");
      ok = false;
    }
  }
  if (!ok) {
    const int why = errno;  // for the caller, which tells a taken name from a failure
    unlink(temp.c_str());
    errno = why;
  }
  return ok;
}

}  // namespace plat::png
