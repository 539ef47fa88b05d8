// zorvex-bench: every figure in one run, in this order.
//   zorvex-bench [--benchmark_format=json] [--benchmark_filter=REGEX] ...
#include <benchmark/benchmark.h>

namespace zorvex::bench {
void BM_PlayFrame(benchmark::State& state);
void BM_PlayFrameFloor(benchmark::State& state);
void BM_PlayFrameSdlBlit(benchmark::State& state);
void BM_HeadlessFrame(benchmark::State& state);
void BM_Startup(benchmark::State& state);
void BM_MixerCallback(benchmark::State& state);
void BM_PrintText(benchmark::State& state);
void BM_FramePacer(benchmark::State& state);
}  // namespace zorvex::bench

using namespace zorvex::bench;

BENCHMARK(BM_PlayFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlayFrameFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlayFrameSdlBlit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HeadlessFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Startup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MixerCallback)->Arg(1024)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PrintText)->Unit(benchmark::kMicrosecond);
// Ten seconds of real frames: wall-clock time, since the point is waiting well.
BENCHMARK(BM_FramePacer)->Iterations(600)->UseRealTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
