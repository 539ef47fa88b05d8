#pragma once

#include <fstream>
#include <iterator>
#include <string>

namespace zorvex::testing {

// A whole file, byte for byte; empty when it cannot be read.
inline std::string File_Text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace zorvex::testing
