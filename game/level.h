// Level generation: each level start builds a new wave from the generator's stream.
#pragma once

#include <cstdint>

#include "gfx/background.h"

namespace zorvex {

int Start_Level();

}  // namespace zorvex
