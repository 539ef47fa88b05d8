// The game brought up on the soft backend for measuring: a host with a manual clock, no
// presentation at all, and an audio sink that hands its mix function to the benchmark instead
// of a device thread.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "game/state.h"
#include "platform/os.h"
#include "platform/soft/host.h"
#include "tests/manual_sink.h"
#include "tests/recording_surface.h"

namespace zorvex::bench {

class Bench_Host final : public plat::soft::Host {
 public:
  std::uint32_t Ticks() override { return ms_; }
  bool Open_Window(const char*, int, int) override { return true; }
  void Pump_Events(plat::soft::InputState*) override {}
  void Wait_Events(plat::soft::InputState*, int) override {}
  bool Visible() override { return true; }
  void Present(const std::uint16_t*, int, int) override {}  // no copy, no wait
  plat::soft::AudioSink* Audio_Sink() override { return &sink_; }

  void Set_Ticks(std::uint32_t ms) { ms_ = ms; }
  void Advance(std::uint32_t ms) { ms_ += ms; }
  std::uint32_t Now() const { return ms_; }
  testing::ManualSink& sink() { return sink_; }

 private:
  std::uint32_t ms_ = 1000;
  testing::ManualSink sink_;
};

// Creates the backend, the window and runs Setup_Game with the real sheets and sounds; the
// destructor shuts the game down and hands the seam back empty. Given a recorded game, it plays
// that on the headless host with tracing off instead (host() is then not to be used).
class Game_Up {
 public:
  explicit Game_Up(const char* replay = nullptr);
  ~Game_Up();
  Game_Up(const Game_Up&) = delete;
  Game_Up& operator=(const Game_Up&) = delete;
  bool Ok() const { return ok_; }
  Bench_Host& host() { return *host_; }

 private:
  Bench_Host* host_ = nullptr;
  std::unique_ptr<plat::Os> backend_;
  bool ok_ = false;
  bool session_ = false;
};

// A full play frame's state: 75 live bricks of every kind and damage, 15 balls, 50 shots, a
// five-digit score, level 12, four life icons and a scrolled background. Laid out so that in
// Play_State::kWindow frames nothing hits anything and no ball reaches the ship, so each such
// run of frames does the same work.
class Play_State {
 public:
  static constexpr int kWindow = 8;
  void Build(Bench_Host& host);  // lays the state out and takes the snapshot
  void Restore(Bench_Host& host) const;
  // True when the objects are all still there and in play.
  static bool Intact();

 private:
  Play_State_Copy saved_{};
  std::uint32_t saved_now_ = 0;
};

// Runs one frame with the back buffer wrapped so that every blit made on it is recorded.
std::vector<testing::Blit> Record_Frame_Blits();

}  // namespace zorvex::bench
