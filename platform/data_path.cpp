#include "platform/data_path.h"

namespace plat {

namespace {
std::string data_dir;
}

void Set_Data_Dir(const std::string& dir) { data_dir = dir; }

std::string Data_Path(const char* name) {
  if (data_dir.empty()) return name;
  if (data_dir.back() == '/') return data_dir + name;
  return data_dir + "/" + name;
}

}  // namespace plat
