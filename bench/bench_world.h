// The game brought up on the soft backend for measuring: a headless host with a manual clock,
// keeping no frames, and an audio sink that hands its mix function to the benchmark instead of a
// device thread.
#pragma once

#include <memory>

#include "platform/os.h"
#include "platform/soft/headless_host.h"
#include "tests/manual_sink.h"

namespace zorvex::bench {

class Bench_Host final : public plat::soft::HeadlessHost {
 public:
  Bench_Host() : HeadlessHost(Clock::MANUAL, 1000) { Keep_Frames(false); }
  plat::soft::AudioSink* Audio_Sink() override { return &sink; }
  testing::ManualSink sink;
};

// Starts the game as the program does (the window, then Setup_Game with the real sheets and
// sounds); the destructor shuts it down and hands the seam back empty.
class Game_Up {
 public:
  Game_Up();
  ~Game_Up();
  Game_Up(const Game_Up&) = delete;
  Game_Up& operator=(const Game_Up&) = delete;
  bool Ok() const { return ok_; }
  Bench_Host& host() { return *host_; }

 private:
  Bench_Host* host_;
  std::unique_ptr<plat::Os> backend_;
  bool ok_;
};

// Lays out a full play frame's state over the started game: 75 live bricks of every kind and
// damage, 15 balls, 50 shots, a five-digit score, level 12, four life icons and a scrolled
// background. In kPlayWindow frames from it nothing hits anything and no ball reaches the ship,
// so each such run of frames does the same work.
constexpr int kPlayWindow = 8;
void Build_Play_State();
// True when the objects are all still there and in play.
bool Play_State_Intact();

}  // namespace zorvex::bench
