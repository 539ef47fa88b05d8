// The SDL2 host: a window (full screen by default) showing the 640x480 frames, the keyboard and
// mouse, 60 Hz pacing and the audio device. No SDL in this header.
#pragma once

#include <memory>

#include "host/host_layer.h"
#include "platform/sdl/sdl_present.h"
#include "platform/soft/host.h"

union SDL_Event;

namespace plat::sdl {

// What a measuring program watches of the live host (tools/measure, for scripts/measure-latency
// and measure-stutter). The game ships with none: zorvex-measure registers one before main.
class FrameWatcher {
 public:
  virtual ~FrameWatcher() = default;
  virtual bool Old_Order() const { return false; }  // sleep between drawing and showing
  virtual void Pump_Begins() {}                     // the host starts reading SDL's queue
  virtual bool Handle(const SDL_Event& event) = 0;  // true: the watcher's own event
  virtual void Shown() {}                           // a frame has just been shown
};
// Called once when SDL is up; the watcher made lives until the host closes, before SDL does.
using WatcherMaker = std::unique_ptr<FrameWatcher> (*)();
bool Watch_Frames(WatcherMaker make);

struct SdlOptions {
  bool window = false;  // a window instead of the full screen
  int scale = 0;        // with window: 1 to 8; 0 picks the largest whole factor that fits
  PresentWay present = PresentWay::AUTO;  // how frames reach the window
  bool scale_gives_way = false;  // a remembered scale that no longer fits the desktop is dropped
  // The host layer's (sound false: no audio device is opened); screenshots go to
  // $XDG_PICTURES_DIR, or the working directory.
  host::HostOptions host;
};

// Null when SDL's video cannot start.
std::unique_ptr<plat::soft::Host> Make_Sdl_Host(const SdlOptions& options);

}  // namespace plat::sdl
