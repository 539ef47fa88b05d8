// The browser host: the page's canvas, its keyboard and mouse, and WebAudio. The page's script
// drives the frames; this side never waits.
#pragma once

#include <memory>

#include "platform/soft/host.h"

namespace plat::web {

// `sensitivity`: mouse motion in percent, 25 to 400.
std::unique_ptr<soft::Host> Make_Web_Host(bool sound, int sensitivity = 100);

}  // namespace plat::web
