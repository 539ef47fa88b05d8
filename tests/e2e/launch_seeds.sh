#!/usr/bin/env bash
# Twenty launches in a row, as a player makes them: each one's start tick is the machine's uptime
# in milliseconds, and no two of them open on the same first wave.
# Usage: launch_seeds.sh GAME DATA_DIR
set -euo pipefail
game="$1"; data="$2"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=dummy

field() { sed -n "s/.*\"$1\":\\([0-9]*\\).*/\\1/p"; }

# The launches first, back to back, then the waves their start ticks open.
for i in $(seq 20); do
  before=$(cut -d' ' -f1 /proc/uptime)
  "$game" --window --nosound --autoplay --frames 1 --data "$data" --trace "$work/live.jsonl"
  after=$(cut -d' ' -f1 /proc/uptime)
  tick=$(head -n 1 "$work/live.jsonl" | field tick)
  # Uptime counts hundredths of a second; the tick is milliseconds, modulo 2^32.
  awk -v t="$tick" -v a="$before" -v b="$after" 'BEGIN {
        m = 4294967296; lo = (a * 1000 - 10) % m
        exit !(((t - lo) % m + m) % m <= (b - a) * 1000 + 20) }' ||
    fail "launch $i: start tick $tick is not the uptime (${before} s to ${after} s)"
  echo "$tick" >>"$work/ticks"
done
while read -r tick; do
  # The pilot presses Enter after 90 frames of the title.
  "$game" --headless --autoplay --seed "$tick" --frames 95 --data "$data" --trace "$work/wave.jsonl"
  grep -m 1 '"level":1,' "$work/wave.jsonl" |
    sed 's/.*\("tile":[^]]*]\).*\("bricks":.*\),"sound".*\(music0[0-9]\).*/\1 \2 \3/' >"$work/wave"
  grep -q bricks "$work/wave" || fail "start tick $tick: no first wave in the trace"
  echo "$tick $(md5sum <"$work/wave" | cut -c1-32)" >>"$work/waves"
done <"$work/ticks"
repeats=$(cut -d' ' -f2 "$work/waves" | sort | uniq -d | wc -l)
[ "$repeats" -eq 0 ] || { cat "$work/waves" >&2; fail "a first wave came twice in 20 launches"; }
echo "20 launches, 20 different first waves (start ticks $(head -n 1 "$work/waves" | cut -d' ' -f1) to $(tail -n 1 "$work/waves" | cut -d' ' -f1))"
