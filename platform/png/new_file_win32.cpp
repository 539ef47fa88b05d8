// Whole-or-nothing files on Windows: a new temporary file, flushed, then moved into place by a
// move that fails on a name already taken.
#include <cerrno>
#include <string>

#include "platform/files/error_text_win32.h"
#include "platform/png/png_file.h"

namespace plat::png {

bool Write_New_File(const std::string& path, const std::vector<std::uint8_t>& bytes,
                    std::string* error) {
  const std::string temp = path + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
  HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    *error = files::Error_Text("cannot create a file there", GetLastError());
    errno = EIO;
    return false;
  }
  DWORD written = 0;
  bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size() && FlushFileBuffers(file);
  DWORD code = ok ? 0 : GetLastError();
  if (!CloseHandle(file) && ok) ok = false, code = GetLastError();
  if (!ok) *error = files::Error_Text("cannot write", code);
  // Without MOVEFILE_REPLACE_EXISTING the move refuses a name already taken.
  if (ok && !MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
    code = GetLastError();
    *error = files::Error_Text("cannot name the file", code);
    ok = false;
  }
  if (!ok) {
    DeleteFileA(temp.c_str());
    errno = code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS ? EEXIST : EIO;
  }
  return ok;
}

}  // namespace plat::png
