// Where the game's files are read from: the working directory unless the player chose another.
#pragma once

#include <string>

namespace plat {

void Set_Data_Dir(const std::string& dir);  // "" for the working directory
// The path of a data file the game names plainly, such as "gfx.bmp".
std::string Data_Path(const char* name);

}  // namespace plat
