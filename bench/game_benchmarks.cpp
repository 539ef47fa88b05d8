// Whole-game figures: headless replay speed, start-up, and the audio callback.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "bench/bench_world.h"
#include "game/state.h"
#include "platform/data_path.h"
#include "platform/soft/soft_os.h"
#include "sound/sound_manager.h"
#include "zorvex/game_loop.h"

namespace zorvex::bench {

namespace {

// Starts the recorded game as `zorvex --headless --replay` does, tracing off.
bool Start_Replay(const std::string& path) {
  Reset_Play_State();
  plat::Set_Data_Dir(ZORVEX_DATA_DIR);
  Options options;
  options.headless = true;
  options.replay_path = path;
  return Open_Session(options) < 0 &&
         Start_Program(plat::soft::Make_Soft_Os(plat::soft::Make_Headless_Host(true))) ==
             GAME_RUNNING;
}

}  // namespace

// Simulation speed: frames of a recorded game (levels, play, losses, restarts) played headless
// through the program's own message loop; when the recording ends it starts again outside the
// timed region.
void BM_HeadlessFrame(benchmark::State& state) {
  const std::string path =
      std::string(ZORVEX_SOURCE_DIR) + "/tests/replays/autopilot_levels.replay";
  if (!Start_Replay(path)) return state.SkipWithError("the replay did not start");
  for (auto _ : state) {
    if (Message_Pass() == GAME_RUNNING) continue;
    state.PauseTiming();
    const bool again = Start_Replay(path);
    state.ResumeTiming();
    if (!again) return state.SkipWithError("the replay did not restart");
  }
  plat::PostQuitMessage(0);  // ends the run as Escape does
  Message_Pass();
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_HeadlessFrame)->Unit(benchmark::kMicrosecond);

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
BENCHMARK(BM_Startup)->Unit(benchmark::kMillisecond);

// One audio device callback of state.range(0) frames with all six slots playing, against the
// time that many frames last at 44100 Hz.
void BM_MixerCallback(benchmark::State& state) {
  Game_Up game;
  if (!game.Ok() || game.host().sink.Starts() == 0) return state.SkipWithError("no sound");
  for (int slot = 0; slot < SOUND_SLOT_COUNT; ++slot) {
    if (Play_Sound(slot, plat::DSBPLAY_LOOPING) != 1)
      return state.SkipWithError("a slot is silent");
  }
  const int frames = static_cast<int>(state.range(0));
  std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * 2);
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    game.host().sink.Pull(out.data(), frames);
    benchmark::DoNotOptimize(out.data());
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double budget = static_cast<double>(frames) / 44100.0;
  state.counters["core_pct"] = 100.0 * seconds / static_cast<double>(state.iterations()) / budget;
}
BENCHMARK(BM_MixerCallback)->Arg(1024)->Unit(benchmark::kMicrosecond);

}  // namespace zorvex::bench
