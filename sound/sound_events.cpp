#include "sound/sound_events.h"

#include <utility>

namespace zorvex {

namespace detail {
bool sound_events_on = false;
}

namespace {
std::vector<SoundEvent> events;
}

void Record_Sound_Events(bool on) {
  detail::sound_events_on = on;
  if (!on) events.clear();
}

std::vector<SoundEvent> Take_Sound_Events() { return std::exchange(events, {}); }

void Note_Sound_Event(SoundEvent::Kind kind, int slot, const char* file, std::int64_t value,
                      int result) {
  if (!detail::sound_events_on) return;
  events.push_back(SoundEvent{kind, slot, file ? file : "", value, result});
}

}  // namespace zorvex
