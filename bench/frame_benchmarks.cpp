// What one play frame costs: the game's own frame, the least memory traffic any renderer of it
// must make, and the same blits done by SDL; plus the text renderer and the 60 Hz pacer.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "bench/bench_world.h"
#include "game/state.h"
#include "gfx/display.h"
#include "gfx/sprites.h"
#include "platform/soft/frame_pacer.h"
#include "platform/test_double/test_backend.h"
#include "tests/recording_surface.h"
#include "zorvex/game_loop.h"

namespace zorvex::bench {

constexpr std::size_t kScreenPixels = 640 * 480;

// The play state is put back, outside the timed region, every kPlayWindow frames.
void BM_PlayFrame(benchmark::State& state) {
  Game_Up game;
  if (!game.Ok()) return state.SkipWithError("start-up failed");
  Build_Play_State();
  PlayStateCopy saved;
  Save_Play_State(&saved);
  const std::uint32_t start = game.host().Ticks();
  int in_window = 0;
  bool intact = true;
  for (auto _ : state) {
    if (++in_window > kPlayWindow) {
      state.PauseTiming();
      intact = intact && Play_State_Intact();
      Restore_Play_State(saved);
      game.host().Set_Ticks(start);
      in_window = 1;
      state.ResumeTiming();
    }
    game.host().Advance(16);
    Run_Frame();
  }
  if (!intact) state.SkipWithError("the play state drifted: objects were lost within a window");
  state.SetBytesProcessed(state.iterations() * kScreenPixels * 2);
}
BENCHMARK(BM_PlayFrame)->Unit(benchmark::kMicrosecond);

// memset of the back buffer, then two whole-screen copies (the flip to the host, the host's
// upload): the memory traffic a renderer of this frame cannot avoid.
void BM_PlayFrameFloor(benchmark::State& state) {
  std::vector<std::uint16_t> back(kScreenPixels), front(kScreenPixels), upload(kScreenPixels);
  for (auto _ : state) {
    std::memset(back.data(), 0, kScreenPixels * 2);
    benchmark::ClobberMemory();
    std::memcpy(front.data(), back.data(), kScreenPixels * 2);
    benchmark::ClobberMemory();
    std::memcpy(upload.data(), front.data(), kScreenPixels * 2);
    benchmark::DoNotOptimize(upload.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kScreenPixels * 2);
}
BENCHMARK(BM_PlayFrameFloor)->Unit(benchmark::kMicrosecond);

namespace {

SDL_Surface* Sdl_Copy_Of(plat::IDirectDrawSurface4* sheet) {
  const int w = plat::test_double::TestBackend::Width_Of(sheet);
  const int h = plat::test_double::TestBackend::Height_Of(sheet);
  const std::vector<std::uint16_t> pixels = plat::test_double::TestBackend::Pixels_Of(sheet);
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 16, SDL_PIXELFORMAT_RGB565);
  if (!s) return nullptr;
  for (int y = 0; y < h; ++y)
    std::memcpy(static_cast<std::uint8_t*>(s->pixels) + y * s->pitch, &pixels[y * w], w * 2);
  SDL_SetColorKey(s, SDL_TRUE, 0);
  return s;
}

void Draw_With_Sdl(const std::vector<testing::Blit>& blits, SDL_Surface* back,
                   SDL_Surface* gfx_sheet, SDL_Surface* ui_sheet) {
  for (const testing::Blit& b : blits) {
    SDL_Rect dst{b.x, b.y, b.w, b.h}, src{b.sx, b.sy, b.w, b.h};  // dst gets the clipped rect
    if (!b.source)
      SDL_FillRect(back, &dst, b.colour);
    else
      SDL_BlitSurface(b.source == lpddsgfx ? gfx_sheet : ui_sheet, &src, back, &dst);
  }
}

bool Same_Picture(SDL_Surface* back, const std::vector<std::uint16_t>& expected) {
  for (int y = 0; y < back->h; ++y)
    if (std::memcmp(static_cast<std::uint8_t*>(back->pixels) + y * back->pitch,
                    &expected[y * back->w], back->w * 2) != 0)
      return false;
  return true;
}

}  // namespace

// The same frame's blits, rectangle for rectangle, through SDL_BlitSurface with a colour key on
// RGB565 surfaces, as a port leaning on the library would draw it.
void BM_PlayFrameSdlBlit(benchmark::State& state) {
  Game_Up game;
  if (!game.Ok()) return state.SkipWithError("start-up failed");
  Build_Play_State();
  game.host().Advance(16);
  // The frame's blits, recorded as the real back buffer takes them.
  plat::IDirectDrawSurface4* real = lpddsback;
  testing::RecordingSurface recorder(real);
  lpddsback = &recorder;
  Run_Frame();
  lpddsback = real;
  const std::vector<testing::Blit>& blits = recorder.blits;
  const std::vector<std::uint16_t> drawn = plat::test_double::TestBackend::Pixels_Of(lpddsfront);
  SDL_Surface* gfx_sheet = Sdl_Copy_Of(lpddsgfx);
  SDL_Surface* ui_sheet = Sdl_Copy_Of(lpddssys);
  SDL_Surface* back = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 16, SDL_PIXELFORMAT_RGB565);
  if (!gfx_sheet || !ui_sheet || !back) return state.SkipWithError("no SDL surfaces");
  Draw_With_Sdl(blits, back, gfx_sheet, ui_sheet);
  if (!Same_Picture(back, drawn)) state.SkipWithError("SDL drew a different picture");
  for (auto _ : state) {
    Draw_With_Sdl(blits, back, gfx_sheet, ui_sheet);
    benchmark::ClobberMemory();
  }
  state.counters["blits"] = static_cast<double>(blits.size());
  SDL_FreeSurface(back);
  SDL_FreeSurface(ui_sheet);
  SDL_FreeSurface(gfx_sheet);
}
BENCHMARK(BM_PlayFrameSdlBlit)->Unit(benchmark::kMicrosecond);

// One line of text through the device-context path, as the title and game-over screens draw.
void BM_PrintText(benchmark::State& state) {
  Game_Up game;
  if (!game.Ok()) return state.SkipWithError("start-up failed");
  for (auto _ : state) Print_Text("Press Enter to Start Over,", 0, 440, 0xFFFFFF, lpddsback);
}
BENCHMARK(BM_PrintText)->Unit(benchmark::kMicrosecond);

namespace {

std::int64_t Now_Ns(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
}

}  // namespace

// The 60 Hz pacer of the windowed host on the live clock: the spread of the intervals between
// frames (mean, 99th percentile, worst) and how much of a core the waiting costs.
void BM_FramePacer(benchmark::State& state) {
  constexpr std::int64_t kPeriod = 1'000'000'000 / 60;
  plat::soft::FramePacer pacer(kPeriod);
  pacer.Wait();
  std::int64_t last = Now_Ns(CLOCK_MONOTONIC);
  const std::int64_t cpu_start = Now_Ns(CLOCK_THREAD_CPUTIME_ID), wall_start = last;
  std::vector<std::int64_t> intervals;
  intervals.reserve(static_cast<std::size_t>(state.max_iterations));
  for (auto _ : state) {
    pacer.Wait();
    const std::int64_t now = Now_Ns(CLOCK_MONOTONIC);
    intervals.push_back(now - last);
    last = now;
  }
  const double cpu = static_cast<double>(Now_Ns(CLOCK_THREAD_CPUTIME_ID) - cpu_start);
  const double wall = static_cast<double>(Now_Ns(CLOCK_MONOTONIC) - wall_start);
  if (intervals.empty()) return;
  std::sort(intervals.begin(), intervals.end());
  double sum = 0;
  for (std::int64_t i : intervals) sum += static_cast<double>(i);
  const std::size_t p99 = (intervals.size() * 99 + 99) / 100 - 1;
  state.counters["cpu_pct"] = 100.0 * cpu / wall;
  state.counters["mean_ms"] = sum / static_cast<double>(intervals.size()) / 1e6;
  state.counters["p99_ms"] = static_cast<double>(intervals[p99]) / 1e6;
  state.counters["worst_ms"] = static_cast<double>(intervals.back()) / 1e6;
}
// Ten seconds of real frames: wall-clock time, since the point is waiting well.
BENCHMARK(BM_FramePacer)->Iterations(600)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace zorvex::bench
