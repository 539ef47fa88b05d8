#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace zorvex::testing {

// A folder of its own under /tmp for the files a test writes; removed with all in it.
struct TempDir {
  const std::string path = Make();
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path + "/" + name, std::ios::binary) << bytes;
    return path + "/" + name;
  }
  static std::string Make() {
    char name[] = "/tmp/zorvex-test-XXXXXX";
    if (!mkdtemp(name)) throw std::runtime_error("no temporary folder");
    return name;
  }
};

}  // namespace zorvex::testing
