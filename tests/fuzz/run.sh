#!/bin/sh
# Builds a fuzz target with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) into
# its own build directory and runs it on its corpus.
#   tests/fuzz/run.sh TARGET SECONDS [extra libFuzzer options]
# TARGET: wave (Wave_Load). The corpus grows in build-fuzz/corpus/TARGET, seeded from the
# committed tests/fuzz/corpus/TARGET.
set -eu
target=${1:?usage: run.sh TARGET SECONDS}
seconds=${2:?usage: run.sh TARGET SECONDS}
shift 2
src=$(cd "$(dirname "$0")/../.." && pwd)
out=${ZORVEX_FUZZ_DIR:-$src/build-fuzz}
mkdir -p "$out/corpus/$target" "$out/artifacts"

case $target in
  wave)
    sources="tests/fuzz/wave_load_fuzz.cpp sound/wave_reader.cpp sound/riff_reader.cpp
             platform/global_memory.cpp platform/data_path.cpp" ;;
  *) echo "run.sh: unknown target $target" >&2; exit 2 ;;
esac

cxx=${CXX_FUZZ:-clang++}
flags="-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=all -I$src"
(cd "$src" && $cxx $flags $sources -o "$out/${target}_fuzz")

exec "$out/${target}_fuzz" -max_total_time="$seconds" -max_len=4096 -rss_limit_mb=1024 \
  -artifact_prefix="$out/artifacts/" -print_final_stats=1 "$@" \
  "$out/corpus/$target" "$src/tests/fuzz/corpus/$target"
