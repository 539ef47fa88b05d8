// The audio device under the SDL2 backend.
#pragma once

#include <memory>

#include "platform/soft/audio_sink.h"

namespace plat::sdl {

// Opens one output device at 44100 Hz, signed 16-bit stereo; null when none can be opened.
// Start may be called again to hand the device another mix function (the sound device hands it
// silence when it is released); the device closes when the sink is destroyed.
std::unique_ptr<plat::soft::AudioSink> Make_Sdl_Audio_Sink();

}  // namespace plat::sdl
