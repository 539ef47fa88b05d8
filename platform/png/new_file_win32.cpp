// Whole-or-nothing files on Windows: a new temporary file, flushed, then moved into place by a
// move that fails on a name already taken.
#include <cerrno>
#include <string>

#include "platform/png/png_file.h"
// clang-format off
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// clang-format on

namespace plat::png {

namespace {

std::string Reason(const char* what, DWORD code) {
  char text[256] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                 sizeof(text), nullptr);
  std::string why = text;
  while (!why.empty() && (why.back() == '\n' || why.back() == '\r' || why.back() == '.'))
    why.pop_back();
  return std::string(what) + ": " + (why.empty() ? "error " + std::to_string(code) : why);
}

}  // namespace

bool Write_New_File(const std::string& path, const std::vector<std::uint8_t>& bytes,
                    std::string* error) {
  const std::string temp = path + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
  HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    *error = Reason("cannot create a file there", GetLastError());
    errno = EIO;
    return false;
  }
  DWORD written = 0;
  bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size() && FlushFileBuffers(file);
  DWORD code = ok ? 0 : GetLastError();
  if (!CloseHandle(file) && ok) ok = false, code = GetLastError();
  if (!ok) *error = Reason("cannot write", code);
  // Without MOVEFILE_REPLACE_EXISTING the move refuses a name already taken.
  if (ok && !MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
    code = GetLastError();
    *error = Reason("cannot name the file", code);
    ok = false;
  }
  if (!ok) {
    DeleteFileA(temp.c_str());
    errno = code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS ? EEXIST : EIO;
  }
  return ok;
}

}  // namespace plat::png
