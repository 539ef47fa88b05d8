// The browser host: the page's canvas, its keyboard and mouse, and WebAudio. The page's script
// drives the frames; this side never waits.
#pragma once

#include <memory>

#include "platform/soft/host.h"

namespace plat::web {

std::unique_ptr<soft::Host> Make_Web_Host(bool sound);

}  // namespace plat::web
