// zorvex-bench: every figure in one run. Each benchmark is registered beside its body.
//   zorvex-bench [--benchmark_format=json] [--benchmark_filter=REGEX] ...
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
