#include "game/state.h"

#include <algorithm>
#include <iterator>
#include <type_traits>

#include "gfx/background.h"
#include "input/input.h"

namespace zorvex {

#define ZORVEX_PLAY_STATE_DEFINE(where, type, name, size, key, form, ...) \
  ZORVEX_IF_##where(type name size __VA_ARGS__;)
ZORVEX_PLAY_STATE(ZORVEX_PLAY_STATE_DEFINE)
#undef ZORVEX_PLAY_STATE_DEFINE
Attachment& gun = attachments[0];

namespace {

// Both directions of the copy.
template <typename Copy, typename Move>
void Each_Global(Copy& c, Move move) {
#define ZORVEX_PLAY_STATE_MOVE(where, type, name, ...) move(c.name, name);
  ZORVEX_PLAY_STATE(ZORVEX_PLAY_STATE_MOVE)
#undef ZORVEX_PLAY_STATE_MOVE
}

template <typename T>
void Assign(T& to, const T& from) {
  if constexpr (std::is_array_v<T>)
    std::copy(std::begin(from), std::end(from), std::begin(to));
  else
    to = from;
}

}  // namespace

void Save_Play_State(PlayStateCopy* copy) {
  Each_Global(*copy, [](auto& saved, const auto& live) { Assign(saved, live); });
}

void Restore_Play_State(const PlayStateCopy& copy) {
  Each_Global(copy, [](const auto& saved, auto& live) { Assign(live, saved); });
}

void Reset_Play_State() {
  // Each global's value at program start.
  static const PlayStateCopy fresh = [] {
    PlayStateCopy state{};
#define ZORVEX_PLAY_STATE_START(where, type, name, size, key, form, ...) \
  {                                                                      \
    static const type start size __VA_ARGS__;                            \
    Assign(state.name, start);                                           \
  }
    ZORVEX_PLAY_STATE(ZORVEX_PLAY_STATE_START)
#undef ZORVEX_PLAY_STATE_START
    return state;
  }();
  Restore_Play_State(fresh);
}

}  // namespace zorvex
