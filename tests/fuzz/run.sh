#!/bin/sh
# Builds a fuzz target with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) into
# its own build directory and runs it on its corpus.
#   tests/fuzz/run.sh TARGET SECONDS [extra libFuzzer options]
# TARGET: wave (Wave_Load), replay (Parse_Replay), bmp (Decode_Bmp) or sheet
# (Load_Bitmap_Surface on the soft backend, with a failing step chosen by the first byte).
# The corpus grows in build-fuzz/corpus/TARGET, seeded from the committed
# tests/fuzz/corpus/TARGET; findings land in build-fuzz/artifacts/.
set -eu
target=${1:?usage: run.sh TARGET SECONDS}
seconds=${2:?usage: run.sh TARGET SECONDS}
shift 2
src=$(cd "$(dirname "$0")/../.." && pwd)
out=${ZORVEX_FUZZ_DIR:-$src/build-fuzz}

case $target in
  wave|replay|bmp|sheet) ;;
  *) echo "run.sh: unknown target $target (wave, replay, bmp, sheet)" >&2; exit 2 ;;
esac
mkdir -p "$out/corpus/$target" "$out/artifacts"

# Everything is instrumented for coverage; only the targets link libFuzzer's main.
flags="-g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined
       -fno-sanitize-recover=all"
cmake -S "$src" -B "$out/cmake" -DCMAKE_BUILD_TYPE=None -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER="${CXX_FUZZ:-clang++}" -DCMAKE_CXX_FLAGS="$(echo $flags)" \
  -DZORVEX_FUZZ=ON -DZORVEX_BENCH=OFF >/dev/null
cmake --build "$out/cmake" --target "zorvex-fuzz-$target" -j"${ZORVEX_FUZZ_JOBS:-2}" >/dev/null

exec "$out/cmake/tests/fuzz/zorvex-fuzz-$target" -max_total_time="$seconds" -max_len=4096 \
  -rss_limit_mb=1024 -artifact_prefix="$out/artifacts/$target-" -print_final_stats=1 "$@" \
  "$out/corpus/$target" "$src/tests/fuzz/corpus/$target"
