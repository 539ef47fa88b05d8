// A record of the sound manager's calls, kept only while a trace is being written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zorvex {

struct SoundEvent {
  enum class Kind { LOAD, VOLUME, PLAY, STOP };
  Kind kind;
  int slot;
  std::string file;    // Load: the name as the game passed it
  std::int64_t value;  // Volume: hundredths of a dB; Play: flags; Stop: rewind
  int result;          // Load, Play, Stop: the method's result
};

void Record_Sound_Events(bool on);
// The calls made since the last Take_Sound_Events, in order; empties the record.
std::vector<SoundEvent> Take_Sound_Events();

// Called by the sound manager for each of its calls; costs one test while recording is off.
namespace detail {
extern bool sound_events_on;
}
void Note_Sound_Event(SoundEvent::Kind kind, int slot, const char* file, std::int64_t value,
                      int result);
inline bool Sound_Events_On() { return detail::sound_events_on; }

}  // namespace zorvex
