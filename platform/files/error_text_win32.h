// "what: the system's text for code", for the messages of the Windows file code, which gets
// <windows.h> from here. A code the system has no text for is given by its number.
#pragma once

#include <string>
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace plat::files {

inline std::string Error_Text(const std::string& what, DWORD code = GetLastError()) {
  char text[256] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                 sizeof(text), nullptr);
  std::string why = text;
  while (!why.empty() && (why.back() == '\n' || why.back() == '\r' || why.back() == '.'))
    why.pop_back();
  return what + ": " + (why.empty() ? "error " + std::to_string(code) : why);
}

}  // namespace plat::files
