// What every fuzz target does when a property fails: say which, and stop where the fuzzer sees it.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz target: %s\n", what);
  std::abort();
}
