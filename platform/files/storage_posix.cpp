// Files the game keeps, on a POSIX system: the XDG folders, atomic replacement by rename.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/files/storage.h"

namespace plat::files {

namespace {

std::string Error_Text(const std::string& what) { return what + ": " + std::strerror(errno); }

bool Write_All(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
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
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return *error = Error_Text(folder_), false;
    bool ok = ::fchmod(fd, 0644) == 0 && Write_All(fd, text) && ::fsync(fd) == 0;
    if (!ok) *error = Error_Text(path);
    if (::close(fd) != 0 && ok) ok = false, *error = Error_Text(path);
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) ok = false, *error = Error_Text(path);
    if (!ok) return ::unlink(temp.c_str()), false;
    Sync_Folder();
    return true;
  }

  bool Move_Aside(const std::string& name, std::string* error) override {
    const std::string path = Where(name);
    if (::rename(path.c_str(), (path + ".bad").c_str()) != 0)
      return *error = Error_Text(path), false;
    Sync_Folder();
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

  // The rename itself is made to last, not only the file's bytes.
  void Sync_Folder() const {
    const int fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
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

std::unique_ptr<Storage> Make_Folder_Storage(const std::string& folder) {
  return std::make_unique<FolderStorage>(folder);
}

std::string Settings_Folder() { return Xdg_Folder("XDG_CONFIG_HOME", ".config"); }
std::string Data_Folder() { return Xdg_Folder("XDG_DATA_HOME", ".local/share"); }

}  // namespace plat::files
