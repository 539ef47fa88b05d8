// The live tick count: what the system's millisecond tick count reads on this machine.
#pragma once

#include <cstdint>

namespace plat::soft {

// Milliseconds since the machine started, time asleep included, truncated to 32 bits as the
// system tick count is (it wraps after 49.7 days). Counting from the machine's start rather than
// the program's is what makes the game's seed differ from one launch to the next.
std::uint32_t Boot_Ticks();

}  // namespace plat::soft
