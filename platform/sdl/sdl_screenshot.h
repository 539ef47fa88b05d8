// The screenshot key's pictures. No SDL in this header.
#pragma once

#include <cstdint>
#include <string>

namespace plat::sdl {

// $XDG_PICTURES_DIR when set and not empty, otherwise the working directory (".").
std::string Screenshot_Dir();

// Saves the 5-6-5 picture (pitch = width) as a PNG named zorvex-YYYYMMDD-HHMMSS.png in `dir`
// (with -2, -3, ... when that name is taken), never leaving a partial file. Returns the path
// written, or false with the reason in *result.
bool Save_Screenshot(const std::uint16_t* pixels, int width, int height, const std::string& dir,
                     std::string* result);

}  // namespace plat::sdl
