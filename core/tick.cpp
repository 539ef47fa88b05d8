#include "core/tick.h"

#include "platform/os.h"

namespace zorvex {

std::uint32_t Stamp_Tick() { return plat::GetTickCount(); }

}  // namespace zorvex
