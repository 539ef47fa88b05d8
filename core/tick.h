// The millisecond tick count: every clock read of the game goes through here.
#pragma once

#include <cstdint>

namespace zorvex {

std::uint32_t Stamp_Tick();

}  // namespace zorvex
