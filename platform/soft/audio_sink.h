// Where the software mixer's output goes: a real audio device, or nowhere at all.
#pragma once

#include <cstdint>

namespace plat::soft {

// Fills `frames` stereo frames of signed 16-bit samples at 44100 Hz.
using MixFunction = void (*)(void* context, std::int16_t* out, int frames);

class AudioSink {
 public:
  virtual ~AudioSink() = default;
  // Starts pulling sound from mix(context, ...) on the device's own thread; false if the
  // device could not be opened.
  virtual bool Start(MixFunction mix, void* context) = 0;
  // Held briefly by the game thread while it changes what the mixer reads.
  virtual void Lock() = 0;
  virtual void Unlock() = 0;
};

}  // namespace plat::soft
