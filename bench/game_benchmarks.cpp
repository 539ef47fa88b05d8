// Whole-game figures: headless replay speed, start-up, and the audio callback.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/game_loop.h"
#include "app/session.h"
#include "bench/bench_world.h"
#include "sound/sound_manager.h"

namespace zorvex::bench {

namespace {

// One frame the way the message loop plays it: one message at most, then the session's input,
// then the frame. False when the recorded game has ended.
bool Replay_Frame() {
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

}  // namespace

// Simulation speed: frames of a recorded game (levels, play, losses, restarts) played headless
// with tracing off; when the recording ends it starts again outside the timed region.
void BM_HeadlessFrame(benchmark::State& state) {
  const std::string path =
      std::string(ZORVEX_SOURCE_DIR) + "/tests/replays/autopilot_levels.replay";
  auto run = std::make_unique<Game_Up>(path.c_str());
  if (!run->Ok()) return state.SkipWithError("the replay did not start");
  for (auto _ : state) {
    if (Replay_Frame()) continue;
    state.PauseTiming();
    run.reset();
    run = std::make_unique<Game_Up>(path.c_str());
    state.ResumeTiming();
    if (!run->Ok()) return state.SkipWithError("the replay did not restart");
  }
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
  if (!game.Ok() || game.host().sink().Starts() == 0) return state.SkipWithError("no sound");
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
BENCHMARK(BM_MixerCallback)->Arg(1024)->Unit(benchmark::kMicrosecond);

}  // namespace zorvex::bench
