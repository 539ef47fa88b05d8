#include "app/trace.h"

#include <charconv>
#include <cmath>

#include "app/shortest_double.h"
#include "game/balls.h"
#include "game/bricks.h"
#include "game/level.h"
#include "game/rng.h"
#include "game/ship.h"
#include "game/state.h"
#include "gfx/background.h"
#include "input/input.h"
#include "sound/sound_events.h"
#include "zorvex/game_loop.h"

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

void Balls(Json& j) {
  j.Key("balls").Open('[');
  for (int i = 0; i < BALL_COUNT; ++i) {
    const Ball& b = balls[i];
    if (b.active != 1) continue;
    j.Open('[').Int(i).Int(b.x).Int(b.y).Int(b.vx).Int(b.vy).Int(b.sx).Int(b.sy).Close(']');
  }
  j.Close(']');
}

void Shots(Json& j) {
  j.Key("shots").Open('[');
  for (int i = 0; i < SHOT_COUNT; ++i) {
    const Shot& s = shots[i];
    if (s.active == 0) continue;
    j.Open('[').Int(i).Int(s.x).Int(s.y).Int(s.active).Close(']');
  }
  j.Close(']');
}

void Bricks(Json& j) {
  j.Key("bricks").Open('[');
  for (int i = 0; i < BRICK_COUNT; ++i) {
    const Brick& b = bricks[i];
    if (b.hits < 0) continue;
    j.Open('[').Int(i).Double(b.x).Double(b.y).Double(b.dx).Int(b.hits).Int(b.motion);
    j.Int(b.frames[0].sx).Int(b.frames[0].sy).Close(']');
  }
  j.Close(']');
}

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
        j.Open('[').String("play").Int(e.slot).Int(e.value).Int(e.result).Close(']');
        break;
      case SoundEvent::Kind::STOP:
        j.Open('[').String("stop").Int(e.slot).Int(e.value).Int(e.result).Close(']');
        break;
    }
  }
  j.Close(']');
}

// What a trace shows of the play state: score, lives, level, game_mode, rand_state, pointer_x
// and the ship's x; the gun's state, frame and tick; fire_latch and fire_timer's tick;
// brick_timer's tick; scroll_y, scroll_timer's tick and back_tile; the balls, shots and bricks in
// play. Left out: intro_timer, the other attachments (never used), keys and mouse_state (the
// replay holds the input). The line's format is fixed, so a new global is decided on here.
static_assert(PLAY_STATE_GLOBALS == 20, "a new play-state global: decide what traces show of it");

}  // namespace

std::string Trace_Line(std::uint64_t frame, std::uint32_t tick) {
  std::string out;
  out.reserve(4096);
  Json j(out);
  j.Open('{');
  j.Key("frame").Int(static_cast<std::int64_t>(frame));
  j.Key("tick").Int(tick);
  j.Key("mode").Int(game_mode);
  j.Key("level").Int(level);
  j.Key("score").Int(score);
  j.Key("lives").Int(lives);
  j.Key("pointer").Int(pointer_x);
  j.Key("ship").Int(ship.x);
  j.Key("gun").Open('[').Int(gun.state).Int(gun.animf).Int(gun.tick).Close(']');
  j.Key("fire").Open('[').Int(fire_latch).Int(fire_timer.tick).Close(']');
  j.Key("bricktick").Int(brick_timer.tick);
  j.Key("scroll").Open('[').Double(scroll_y).Int(scroll_timer.tick).Close(']');
  j.Key("tile").Open('[').Int(back_tile.sx).Int(back_tile.sy).Int(back_tile.w);
  j.Int(back_tile.h).Close(']');
  j.Key("rng").Int(rand_state);
  Balls(j);
  Shots(j);
  Bricks(j);
  Sounds(j);
  j.Close('}');
  out += '\n';
  return out;
}

}  // namespace zorvex
