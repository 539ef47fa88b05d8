// Whole-game figures: headless replay speed, start-up, and the audio callback.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/game_loop.h"
#include "app/options.h"
#include "app/session.h"
#include "app/shell.h"
#include "bench/bench_world.h"
#include "game/state.h"
#include "gfx/display.h"
#include "platform/data_path.h"
#include "platform/soft/soft_os.h"
#include "sound/sound_manager.h"

namespace zorvex::bench {

namespace {

// A recorded game played on the headless host with tracing off, one frame at a time, the way
// the message loop plays it: one message at most, then the session's input, then the frame.
class Replay_Run {
 public:
  explicit Replay_Run(std::string path) : path_(std::move(path)) {}
  ~Replay_Run() { Stop(); }

  bool Start() {
    Reset_Play_State();
    plat::Set_Data_Dir(ZORVEX_DATA_DIR);
    Options options;
    options.headless = true;
    options.replay_path = path_;
    std::string error;
    if (!Begin_Session(options, &error)) return false;
    backend_ = plat::soft::Make_Soft_Os(plat::soft::Make_Headless_Host(true));
    plat::Use_Os(backend_.get());
    if (!Open_Game_Window()) return false;
    Session_Before_Setup();
    if (Setup_Game() != 1) return false;
    Session_After_Setup();
    return true;
  }

  // False when the recorded game has ended.
  bool Frame() {
    plat::MSG msg{};
    const bool got = plat::PeekMessageA(&msg, nullptr, 0, 0, plat::PM_REMOVE);
    if (got && msg.message == plat::WM_QUIT) return false;
    if (got) {
      plat::TranslateMessage(&msg);
      plat::DispatchMessageA(&msg);
    }
    if (!Session_Before_Frame()) return false;
    Run_Frame();
    Session_After_Frame();
    return true;
  }

  void Stop() {
    if (!backend_) return;
    Shutdown_Game();
    Release_Clipper();
    End_Session();
    plat::Use_Os(nullptr);
    backend_.reset();
    plat::Set_Data_Dir("");
  }

 private:
  std::string path_;
  std::unique_ptr<plat::Os> backend_;
};

}  // namespace

// Simulation speed: frames of a recorded game (levels, play, losses, restarts) played headless
// with tracing off; when the recording ends it starts again outside the timed region.
void BM_HeadlessFrame(benchmark::State& state) {
  Replay_Run run(std::string(ZORVEX_SOURCE_DIR) + "/tests/replays/autopilot_levels.replay");
  if (!run.Start()) return state.SkipWithError("the replay did not start");
  for (auto _ : state) {
    if (run.Frame()) continue;
    state.PauseTiming();
    run.Stop();
    const bool restarted = run.Start();
    state.ResumeTiming();
    if (!restarted) return state.SkipWithError("the replay did not restart");
  }
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// From nothing to the first frame shown: the backend, the window, Setup_Game with the real
// sheets and sounds, and the first title frame. Shutting down is not timed.
void BM_Startup(benchmark::State& state) {
  for (auto _ : state) {
    auto game = std::make_unique<Game_Up>();
    Run_Frame();
    state.PauseTiming();
    const bool ok = game->Ok();
    game.reset();
    state.ResumeTiming();
    if (!ok) return state.SkipWithError("start-up failed");
  }
}

// One audio device callback of state.range(0) frames with all six slots playing, against the
// time that many frames last at 44100 Hz.
void BM_MixerCallback(benchmark::State& state) {
  Game_Up game;
  if (!game.Ok() || !game.host().sink().Started()) return state.SkipWithError("no sound");
  for (int slot = 0; slot < SOUND_SLOT_COUNT; ++slot) {
    if (Play_Sound(slot, plat::DSBPLAY_LOOPING) != 1)
      return state.SkipWithError("a slot is silent");
  }
  const int frames = static_cast<int>(state.range(0));
  std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * 2);
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    game.host().sink().Pull(out.data(), frames);
    benchmark::DoNotOptimize(out.data());
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double budget = static_cast<double>(frames) / 44100.0;
  state.counters["core_pct"] = 100.0 * seconds / static_cast<double>(state.iterations()) / budget;
}

}  // namespace zorvex::bench
