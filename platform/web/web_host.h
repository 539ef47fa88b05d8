// The browser host: the page's canvas, its keyboard and mouse, and WebAudio. The page's script
// drives the frames; this side never waits.
#pragma once

#include <memory>

#include "host/host_layer.h"
#include "platform/soft/host.h"

namespace plat::web {

// The host layer takes `options`, keeping screenshots as downloads the page offers.
std::unique_ptr<soft::Host> Make_Web_Host(const host::HostOptions& options);

}  // namespace plat::web
