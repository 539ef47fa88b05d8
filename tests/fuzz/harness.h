// What the fuzz targets share: a failed property says which and stops where the fuzzer sees it,
// and an input that a reader takes as a file goes to one scratch file, removed at exit.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

inline void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz target: %s\n", what);
  std::abort();
}

inline const char* Scratch_File(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/zorvex_fuzz_" + std::to_string(getpid());
  static const int removed_at_exit = std::atexit([] { std::remove(path.c_str()); });
  std::FILE* f = std::fopen(path.c_str(), "wb");
  Check(f && std::fwrite(data, 1, size, f) == size && std::fclose(f) == 0 && removed_at_exit == 0,
        "cannot write the scratch file");
  return path.c_str();
}
