#!/bin/sh
# A short run of every fuzz target (ZORVEX_FUZZ_SMOKE_SECONDS each, 20 by default) on a scratch
# copy of its corpus; fails on any finding. The long run of one target is
#   tests/fuzz/run.sh TARGET SECONDS
set -eu
here=$(cd "$(dirname "$0")" && pwd)
seconds=${ZORVEX_FUZZ_SMOKE_SECONDS:-20}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for target in wave replay bmp sheet; do
  echo "fuzz smoke: $target, $seconds s"
  if ! "$here/run.sh" "$target" "$seconds" -print_final_stats=0 >"$scratch/$target.log" 2>&1; then
    tail -n 60 "$scratch/$target.log" >&2
    echo "fuzz smoke: $target FAILED" >&2
    exit 1
  fi
  grep -E '^Done|stat::number_of_executed_units' "$scratch/$target.log" | tail -n 1
done
echo "fuzz smoke: all targets clean"
