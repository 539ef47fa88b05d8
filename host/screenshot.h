// The screenshot key's pictures as PNG files, for the platforms that keep them in a folder.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace host {

// A screenshot's name for the local time now, less its ending: zorvex-YYYYMMDD-HHMMSS.
inline std::string Screenshot_Stem() {
  const std::time_t now = std::time(nullptr);
  char stamp[32] = "0";
  if (const std::tm* local = std::localtime(&now))  // the game's one thread asks for it
    std::strftime(stamp, sizeof(stamp), "%Y%m%d-%H%M%S", local);
  return std::string("zorvex-") + stamp;
}

// Saves the 5-6-5 picture (pitch = width) as a PNG named zorvex-YYYYMMDD-HHMMSS.png in `dir`
// (with -2, -3, ... when that name is taken), never leaving a partial file. Returns the path
// written, or false with the reason in *result.
bool Save_Screenshot(const std::uint16_t* pixels, int width, int height, const std::string& dir,
                     std::string* result);

}  // namespace host
