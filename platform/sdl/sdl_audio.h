// The audio device under the SDL2 backend.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/soft/audio_sink.h"

namespace plat::sdl {

// The host's own controls over the device, outside the game's sound calls.
class SdlAudioSink : public plat::soft::AudioSink {
 public:
  // 0 to 100, applied to the game's finished mix; 0 keeps the device open but silent.
  virtual void Set_Volume(int percent) = 0;
  // A paused device stops asking for sound, so music goes on where it stopped.
  virtual void Set_Paused(bool paused) = 0;
  // SDL says output device `id` went away; true when it was ours, which is then closed and the
  // game plays on in silence.
  virtual bool Device_Removed(std::uint32_t id) = 0;
  // An output device came: with ours lost, the default one is opened and the mix goes on where
  // it stopped. True when it opened.
  virtual bool Device_Added() = 0;
};

// Opens one output device at 44100 Hz, signed 16-bit stereo; null when none can be opened.
// Start may be called again to hand the device another mix function (the sound device hands it
// silence when it is released); the device closes when the sink is destroyed.
std::unique_ptr<SdlAudioSink> Make_Sdl_Audio_Sink();

}  // namespace plat::sdl
