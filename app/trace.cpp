#include "app/trace.h"

#include <charconv>
#include <cmath>
#include <iterator>
#include <string_view>

#include "app/shortest_double.h"
#include "game/state.h"
#include "gfx/background.h"
#include "input/input.h"
#include "sound/sound_events.h"

namespace zorvex {

namespace {

class Json {
 public:
  explicit Json(std::string& out) : out_(out) {}

  Json& Key(const char* key) {
    Comma();
    out_ += '"';
    out_ += key;
    out_ += "\":";
    fresh_ = true;
    return *this;
  }
  Json& Int(std::int64_t value) {
    Comma();
    char buffer[24];
    auto end = std::to_chars(buffer, buffer + sizeof(buffer), value).ptr;
    out_.append(buffer, end);
    return *this;
  }
  // Shortest form that reads back to the same double.
  Json& Double(double value) {
    Comma();
    if (!std::isfinite(value)) {
      out_ += "null";
      return *this;
    }
#if defined(__cpp_lib_to_chars)
    char buffer[32];
    auto end = std::to_chars(buffer, buffer + sizeof(buffer), value).ptr;
    out_.append(buffer, end);
#else
    out_ += Shortest_Double(value);
#endif
    return *this;
  }
  Json& String(const std::string& text) {
    Comma();
    out_ += '"';
    for (char c : text) {
      if (c == '"' || c == '\\') out_ += '\\';
      if (static_cast<unsigned char>(c) < 0x20) continue;
      out_ += c;
    }
    out_ += '"';
    return *this;
  }
  Json& Open(char bracket) {
    Comma();
    out_ += bracket;
    fresh_ = true;
    return *this;
  }
  Json& Close(char bracket) {
    out_ += bracket;
    fresh_ = false;
    return *this;
  }

 private:
  void Comma() {
    if (!fresh_) out_ += ',';
    fresh_ = false;
  }

  std::string& out_;
  bool fresh_ = true;
};

// How a trace writes a play-state global, by the form the list gives it (game/state.h).
template <typename T>
void Trace_Int(Json& j, T value) {
  j.Int(value);
}

void Trace_Tick(Json& j, const Timer& timer) { j.Int(timer.tick); }

// The fire latch with the fire check's timer, the scroll with the scroll's: one array each.
void Trace_Fire(Json& j, int latch) { j.Open('[').Int(latch).Int(fire_timer.tick).Close(']'); }

void Trace_Scroll(Json& j, double y) { j.Open('[').Double(y).Int(scroll_timer.tick).Close(']'); }

void Trace_At_X(Json& j, const SpriteRect& rect) { j.Int(rect.x); }

void Trace_Rect(Json& j, const TileRect& rect) {
  j.Open('[').Int(rect.sx).Int(rect.sy).Int(rect.w).Int(rect.h).Close(']');
}

void Trace_Gun(Json& j, const Attachment (&parts)[ATTACHMENT_COUNT]) {
  const Attachment& gun = parts[0];
  j.Open('[').Int(gun.state).Int(gun.animf).Int(gun.tick).Close(']');
}

void Trace_Balls(Json& j, const Ball (&all)[BALL_COUNT]) {
  j.Open('[');
  for (int i = 0; i < BALL_COUNT; ++i) {
    const Ball& b = all[i];
    if (b.active != 1) continue;
    j.Open('[').Int(i).Int(b.x).Int(b.y).Int(b.vx).Int(b.vy).Int(b.sx).Int(b.sy).Close(']');
  }
  j.Close(']');
}

void Trace_Shots(Json& j, const Shot (&all)[SHOT_COUNT]) {
  j.Open('[');
  for (int i = 0; i < SHOT_COUNT; ++i) {
    const Shot& s = all[i];
    if (s.active == 0) continue;
    j.Open('[').Int(i).Int(s.x).Int(s.y).Int(s.active).Close(']');
  }
  j.Close(']');
}

void Trace_Bricks(Json& j, const Brick (&all)[BRICK_COUNT]) {
  j.Open('[');
  for (int i = 0; i < BRICK_COUNT; ++i) {
    const Brick& b = all[i];
    if (b.hits < 0) continue;
    j.Open('[').Int(i).Double(b.x).Double(b.y).Double(b.dx).Int(b.hits).Int(b.motion);
    j.Int(b.frames[0].sx).Int(b.frames[0].sy).Close(']');
  }
  j.Close(']');
}

template <typename T>
void Trace_Untraced(Json&, const T&) {}  // never called: its key is nullptr

// Each global's trace key in list order; nullptr for those left out.
#define ZORVEX_TRACE_KEY(where, type, name, size, key, ...) key,
constexpr const char* KEYS[] = {ZORVEX_PLAY_STATE(ZORVEX_TRACE_KEY)};
#undef ZORVEX_TRACE_KEY

// A key written twice would make a line no reader takes.
constexpr bool Keys_Unique() {
  for (std::size_t n = 0; n < std::size(KEYS); ++n) {
    if (!KEYS[n]) continue;
    for (std::string_view own : {"frame", "tick", "sound"})
      if (own == KEYS[n]) return false;
    for (std::size_t m = n + 1; m < std::size(KEYS); ++m)
      if (KEYS[m] && std::string_view(KEYS[n]) == KEYS[m]) return false;
  }
  return true;
}
static_assert(Keys_Unique(), "a trace key written twice");

void Sounds(Json& j) {
  j.Key("sound").Open('[');
  for (const SoundEvent& e : Take_Sound_Events()) {
    switch (e.kind) {
      case SoundEvent::Kind::LOAD:
        j.Open('[').String("load").Int(e.slot).String(e.file).Int(e.result).Close(']');
        break;
      case SoundEvent::Kind::VOLUME:
        j.Open('[').String("volume").Int(e.slot).Int(e.value).Close(']');
        break;
      case SoundEvent::Kind::PLAY:
      case SoundEvent::Kind::STOP:
        j.Open('[').String(e.kind == SoundEvent::Kind::PLAY ? "play" : "stop").Int(e.slot);
        j.Int(e.value).Int(e.result).Close(']');
        break;
    }
  }
  j.Close(']');
}

}  // namespace

std::string Trace_Line(std::uint64_t frame, std::uint32_t tick) {
  std::string out;
  out.reserve(4096);
  Json j(out);
  j.Open('{');
  j.Key("frame").Int(static_cast<std::int64_t>(frame));
  j.Key("tick").Int(tick);
#define ZORVEX_TRACE_FIELD(where, type, name, size, key, form, ...) \
  if (const char* k = key) Trace_##form(j.Key(k), name);
  ZORVEX_PLAY_STATE(ZORVEX_TRACE_FIELD)
#undef ZORVEX_TRACE_FIELD
  // The sound the frame made is not play state: the sound layer hands it over once.
  Sounds(j);
  j.Close('}');
  out += '\n';
  return out;
}

}  // namespace zorvex
