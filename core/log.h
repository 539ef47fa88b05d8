// The diagnostics log: closed unless the player asked for one with --log.
#pragma once

#include <cstdio>

namespace zorvex {

// Writes the printf-style message to the log unchanged; 1 if written, 0 when the log is closed.
int Log_Error(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
// 1 if an open log was closed, 0 if there was none.
int Close_Log();

// Opens the log on a file ("-" for standard error). Returns 0 when it cannot be opened.
int Open_Log(const char* path);

}  // namespace zorvex
