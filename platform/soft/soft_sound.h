// The software sound device that DirectSoundCreate hands out under the soft backend.
#pragma once

#include "platform/dsound.h"
#include "platform/soft/audio_sink.h"

namespace plat::soft {

// Creates the device object. With no sink (sound turned off, or no audio device on the machine)
// it fails with DSERR_NODRIVER and *out stays null.
HRESULT Create_Sound_Device(AudioSink* sink, IDirectSound** out);

}  // namespace plat::soft
