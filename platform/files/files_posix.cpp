// Files on a POSIX system: each written whole (mkstemp, fsync, then a rename, and the folder
// synced after it), and those the game keeps in the XDG folders.
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/files/storage.h"
#include "platform/files/whole_file.h"

namespace plat::files {

namespace {

std::string Error_Text(const std::string& what) { return what + ": " + std::strerror(errno); }

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

// Makes a rename in `folder` last, not only the file's bytes.
void Sync_Folder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// mkdir -p, for the folder and those above it.
bool Make_Folders(const std::string& folder) {
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return true;
  }
}

class FolderStorage : public Storage {
 public:
  explicit FolderStorage(std::string folder) : folder_(std::move(folder)) {}

  ReadResult Read(const std::string& name, std::size_t limit, std::string* text,
                  std::string* error) override {
    const std::string path = Where(name);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && (errno == ENOENT || errno == ENOTDIR)) return ReadResult::MISSING;
    if (fd < 0) return *error = Error_Text(path), ReadResult::UNREADABLE;
    const ReadResult result = Read_Open(fd, path, limit, text, error);
    ::close(fd);
    return result;
  }

  bool Write(const std::string& name, const std::string& text, std::string* error) override {
    const std::string path = Where(name);
    if (!Make_Folders(folder_)) return *error = Error_Text(folder_), false;
    if (Write_Whole_File(path, text.data(), text.size(), Replace::OLD_FILE, error) ==
        Written::WRITTEN)
      return true;
    *error = path + ": " + *error;
    return false;
  }

  bool Move_Aside(const std::string& name, std::string* error) override {
    const std::string path = Where(name);
    if (::rename(path.c_str(), (path + ".bad").c_str()) != 0)
      return *error = Error_Text(path), false;
    Sync_Folder(folder_);
    return true;
  }

  bool Remove(const std::string& name) override { return ::unlink(Where(name).c_str()) == 0; }

  bool Lock(const std::string& name, std::string* error) override {
    if (!Make_Folders(folder_)) return *error = Error_Text(folder_), false;
    lock_ = ::open(Where(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lock_ < 0) return *error = Error_Text(Where(name)), false;
    while (::flock(lock_, LOCK_EX) != 0) {
      if (errno == EINTR) continue;
      *error = Error_Text(Where(name));
      Unlock();
      return false;
    }
    return true;
  }

  void Unlock() override {
    if (lock_ >= 0) ::close(lock_);  // closing lets the lock go
    lock_ = -1;
  }

  ~FolderStorage() override { Unlock(); }

  std::string Where(const std::string& name) const override { return folder_ + "/" + name; }

 private:
  static ReadResult Read_Open(int fd, const std::string& path, std::size_t limit, std::string* text,
                              std::string* error) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return *error = Error_Text(path), ReadResult::UNREADABLE;
    if (!S_ISREG(st.st_mode)) return *error = path + ": not a file", ReadResult::UNREADABLE;
    if (static_cast<std::size_t>(st.st_size) > limit) return ReadResult::TOO_BIG;
    text->clear();
    char buffer[65536];
    for (;;) {
      const ssize_t n = ::read(fd, buffer, sizeof(buffer));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return *error = Error_Text(path), ReadResult::UNREADABLE;
      if (n == 0) return ReadResult::READ;
      text->append(buffer, static_cast<std::size_t>(n));
      if (text->size() > limit) return ReadResult::TOO_BIG;  // grew while read
    }
  }

  std::string folder_;
  int lock_ = -1;
};

// $VARIABLE/zorvex when it names an absolute folder, else $HOME/fallback/zorvex.
std::string Xdg_Folder(const char* variable, const char* fallback) {
  const char* set = std::getenv(variable);
  if (set && set[0] == '/') return std::string(set) + "/zorvex";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/" + fallback + "/zorvex";
  return "";
}

}  // namespace

Written Write_Whole_File(const std::string& path, const void* data, std::size_t size,
                         Replace replace, std::string* error) {
  std::string temp = path + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return *error = Error_Text("cannot create a file there"), Written::FAILED;
  // A file the disk took only in part can still fail on its way out of the cache.
  bool ok = ::fchmod(fd, Mode_For(replace)) == 0 &&
            Write_All(fd, static_cast<const char*>(data), size) && ::fsync(fd) == 0;
  if (!ok) *error = Error_Text("cannot write");
  if (::close(fd) != 0 && ok) ok = false, *error = Error_Text("cannot write");
  bool taken = false;
  if (ok && !(replace == Replace::OLD_FILE ? ::rename(temp.c_str(), path.c_str()) == 0
                                           : Rename_New(temp.c_str(), path.c_str())))
    ok = false, taken = errno == EEXIST, *error = Error_Text("cannot name the file");
  if (!ok) {
    ::unlink(temp.c_str());
    return taken ? Written::NAME_TAKEN : Written::FAILED;
  }
  const std::size_t slash = path.rfind('/');
  Sync_Folder(slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash));
  return Written::WRITTEN;
}

std::unique_ptr<Storage> Make_Folder_Storage(const std::string& folder) {
  return std::make_unique<FolderStorage>(folder);
}

std::string Settings_Folder() { return Xdg_Folder("XDG_CONFIG_HOME", ".config"); }
std::string Data_Folder() { return Xdg_Folder("XDG_DATA_HOME", ".local/share"); }

}  // namespace plat::files
