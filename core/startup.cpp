#include "core/startup.h"

#include <cstdio>

#include "core/log.h"
#include "platform/data_path.h"

namespace zorvex {

namespace {
char failure[512] = "";
}

int Fail_Startup(const char* message, const char* file) {
  Log_Error("%s", message);
  if (file) {
    std::snprintf(failure, sizeof(failure), "%s (%s could not be read as a bitmap)", message,
                  plat::Data_Path(file).c_str());
  } else {
    std::snprintf(failure, sizeof(failure), "%s", message);
  }
  return 0;
}

int Remember_Startup_Failure(const char* message) {
  std::snprintf(failure, sizeof(failure), "%s", message);
  return 0;
}

const char* Startup_Failure() { return failure; }

}  // namespace zorvex
