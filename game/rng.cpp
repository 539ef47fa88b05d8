#include "game/rng.h"

namespace zorvex {

int rand() {
  rand_state = rand_state * 214013u + 2531011u;  // unsigned: wraps modulo 2^32 by definition
  return static_cast<int>((rand_state >> 16) & 0x7FFFu);
}

void srand(std::uint32_t seed) { rand_state = seed; }

}  // namespace zorvex
