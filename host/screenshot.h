// The screenshot key's pictures as PNG files, for the platforms that keep them in a folder.
#pragma once

#include <cstdint>
#include <string>

namespace host {

// Saves the 5-6-5 picture (pitch = width) as a PNG named zorvex-YYYYMMDD-HHMMSS.png in `dir`
// (with -2, -3, ... when that name is taken), never leaving a partial file. Returns the path
// written, or false with the reason in *result.
bool Save_Screenshot(const std::uint16_t* pixels, int width, int height, const std::string& dir,
                     std::string* result);

}  // namespace host
