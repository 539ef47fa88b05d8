// The diagnostics log. Closed unless the player opens it with --log.
#include "core/log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace zorvex {

namespace {

std::FILE* log_file = nullptr;
bool log_is_stderr = false;
// Large enough for every message of the game; vsnprintf cuts anything longer.
char log_text[1024];

}  // namespace

int Log_Error(const char* format, ...) {
  if (!format || !log_file) return 0;
  va_list args;
  va_start(args, format);
  std::vsnprintf(log_text, sizeof(log_text), format, args);
  va_end(args);
  std::fputs(log_text, log_file);
  std::fflush(log_file);
  return 1;
}

int Close_Log() {
  if (!log_file) return 0;
  if (!log_is_stderr) std::fclose(log_file);
  log_file = nullptr;
  log_is_stderr = false;
  return 1;
}

int Open_Log(const char* path) {
  Close_Log();
  if (std::strcmp(path, "-") == 0) {
    log_file = stderr;
    log_is_stderr = true;
    return 1;
  }
  log_file = std::fopen(path, "w");
  return log_file ? 1 : 0;
}

}  // namespace zorvex
