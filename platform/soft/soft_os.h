// Factories for the software backend and its hosts. No SDL here.
#pragma once

#include <memory>

#include "platform/os.h"
#include "platform/soft/host.h"

namespace plat::soft {

// The in-memory backend (the class SoftOs, platform/soft/soft_os_impl.h): 640x480 5-6-5 surfaces,
// GDI text and bitmaps, a Win32-style message queue and DirectInput devices fed by the host. The
// backend owns the host, and must outlive every object it hands out.
std::unique_ptr<plat::Os> Make_Soft_Os(std::unique_ptr<Host> host);

// No window, no waiting, the live monotonic clock, and an audio sink that takes every sound and
// plays none (no sink at all without `sound`).
std::unique_ptr<Host> Make_Headless_Host(bool sound = true);

}  // namespace plat::soft
