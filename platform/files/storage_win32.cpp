// Files the game keeps, on Windows: %APPDATA%\Zorvex and %LOCALAPPDATA%\Zorvex, each file
// replaced whole by a flushed temporary moved over it.
#include <cstdlib>
#include <string>

#include "platform/files/error_text_win32.h"
#include "platform/files/storage.h"

namespace plat::files {

namespace {

std::wstring Wide(const std::string& text) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(n > 0 ? n : 1, L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), n);
  wide.resize(wide.size() - 1);
  return wide;
}

std::string Narrow(const wchar_t* wide) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  std::string text(n > 0 ? n : 1, '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), n, nullptr, nullptr);
  text.resize(text.size() - 1);
  return text;
}

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
    const std::wstring temp = Wide(path + ".new" + std::to_string(GetCurrentProcessId()));
    HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return *error = Error_Text(path), false;
    DWORD wrote = 0;
    bool ok = (text.empty() ||
               WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr)) &&
              wrote == text.size() && FlushFileBuffers(file);
    if (!ok) *error = Error_Text(path);
    CloseHandle(file);
    if (ok && !MoveFileExW(temp.c_str(), Wide(path).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      ok = false, *error = Error_Text(path);
    if (!ok) DeleteFileW(temp.c_str());
    return ok;
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
