// The game's one pseudo-random generator. Its exact sequence, and the order in which each
// rule draws from it, is part of how the game plays.
#pragma once

#include <cstdint>

#include "game/state.h"

namespace zorvex {

constexpr int RAND_MAX_VALUE = 32767;

int rand();
void srand(std::uint32_t seed);

}  // namespace zorvex
