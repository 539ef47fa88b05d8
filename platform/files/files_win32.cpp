// Files on Windows: each written whole (a new temporary file, flushed, then moved into place:
// over the old file or, for a new one, by a move that fails on a name already taken), and those
// the game keeps in %APPDATA%\Zorvex and %LOCALAPPDATA%\Zorvex.
#include <cstdlib>
#include <string>

#include "platform/files/error_text_win32.h"
#include "platform/files/storage.h"
#include "platform/files/whole_file.h"

namespace plat::files {

Written Write_Whole_File(const std::string& path, const void* data, std::size_t size,
                         Replace replace, std::string* error) {
  const std::wstring temp = Wide(path + ".new" + std::to_string(GetCurrentProcessId()));
  HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return *error = Error_Text("cannot create a file there"), Written::FAILED;
  DWORD wrote = 0;
  bool ok = size == 0 || WriteFile(file, data, static_cast<DWORD>(size), &wrote, nullptr);
  DWORD code = ok ? 0 : GetLastError();
  if (ok && wrote != size) ok = false, code = ERROR_DISK_FULL;  // a short write: the disk is full
  if (ok && !FlushFileBuffers(file)) ok = false, code = GetLastError();
  if (!CloseHandle(file) && ok) ok = false, code = GetLastError();
  if (!ok) *error = Error_Text("cannot write", code);
  // Without MOVEFILE_REPLACE_EXISTING the move refuses a name already taken.
  const DWORD flags =
      MOVEFILE_WRITE_THROUGH | (replace == Replace::OLD_FILE ? MOVEFILE_REPLACE_EXISTING : 0);
  if (ok && !MoveFileExW(temp.c_str(), Wide(path).c_str(), flags)) {
    code = GetLastError();
    *error = Error_Text("cannot name the file", code);
    ok = false;
  }
  if (ok) return Written::WRITTEN;
  DeleteFileW(temp.c_str());
  return code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS ? Written::NAME_TAKEN
                                                                   : Written::FAILED;
}

namespace {

// The folder and those above it.
bool Make_Folders(const std::string& folder) {
  for (std::size_t cut = folder.find_first_of("\\/", 3);;
       cut = folder.find_first_of("\\/", cut + 1)) {
    const std::wstring part = Wide(folder.substr(0, cut));
    if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
      return false;
    if (cut == std::string::npos) return true;
  }
}

class FolderStorage : public Storage {
 public:
  explicit FolderStorage(std::string folder) : folder_(std::move(folder)) {}
  ~FolderStorage() override { Unlock(); }

  ReadResult Read(const std::string& name, std::size_t limit, std::string* text,
                  std::string* error) override {
    const std::string path = Where(name);
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      const DWORD code = GetLastError();
      if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return ReadResult::MISSING;
      *error = Error_Text(path, code);
      return ReadResult::UNREADABLE;
    }
    LARGE_INTEGER size{};
    ReadResult result = ReadResult::READ;
    if (!GetFileSizeEx(file, &size)) {
      *error = Error_Text(path), result = ReadResult::UNREADABLE;
    } else if (static_cast<unsigned long long>(size.QuadPart) > limit) {
      result = ReadResult::TOO_BIG;
    } else {
      text->assign(static_cast<std::size_t>(size.QuadPart), '\0');
      DWORD got = 0;
      if (!text->empty() &&
          !ReadFile(file, text->data(), static_cast<DWORD>(text->size()), &got, nullptr))
        *error = Error_Text(path), result = ReadResult::UNREADABLE;
      text->resize(got);
    }
    CloseHandle(file);
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
    if (MoveFileExW(Wide(path).c_str(), Wide(path + ".bad").c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return true;
    *error = Error_Text(path);
    return false;
  }

  bool Remove(const std::string& name) override { return DeleteFileW(Wide(Where(name)).c_str()); }

  bool Lock(const std::string& name, std::string* error) override {
    if (!Make_Folders(folder_)) return *error = Error_Text(folder_), false;
    lock_ = CreateFileW(Wide(Where(name)).c_str(), GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (lock_ == INVALID_HANDLE_VALUE) return *error = Error_Text(Where(name)), false;
    OVERLAPPED at{};
    if (LockFileEx(lock_, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at)) return true;  // waits its turn
    *error = Error_Text(Where(name));
    Unlock();
    return false;
  }

  void Unlock() override {
    if (lock_ != INVALID_HANDLE_VALUE) CloseHandle(lock_);  // closing lets the lock go
    lock_ = INVALID_HANDLE_VALUE;
  }

  std::string Where(const std::string& name) const override { return folder_ + "\\" + name; }

 private:
  std::string folder_;
  HANDLE lock_ = INVALID_HANDLE_VALUE;
};

std::string Known_Folder(const wchar_t* variable) {
  const wchar_t* set = _wgetenv(variable);
  if (!set || !*set) return "";
  return Narrow(set) + "\\Zorvex";
}

}  // namespace

std::unique_ptr<Storage> Make_Folder_Storage(const std::string& folder) {
  return std::make_unique<FolderStorage>(folder);
}

std::string Settings_Folder() { return Known_Folder(L"APPDATA"); }
std::string Data_Folder() { return Known_Folder(L"LOCALAPPDATA"); }

}  // namespace plat::files
