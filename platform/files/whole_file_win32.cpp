// Whole files on Windows: a new temporary file, flushed, then moved into place; over the old file
// or, for a new one, by a move that fails on a name already taken.
#include <string>

#include "platform/files/error_text_win32.h"
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

}  // namespace plat::files
