#!/usr/bin/env bash
# The real program replays disk_audio.replay under SDL's dummy video driver and disk audio
# driver; the raw output (44100 Hz stereo s16le) must be, sample for sample, the mix of the sound
# calls in the run's own trace, the wall bounce of frame 2445 must start 45 frames (750 ms) after
# the level's music did, to within one device buffer, and music00 must repeat itself after
# 38.4 s on the title.
set -euo pipefail
game="$1"
check="$2"
data="$3"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

bounce_frame=2445 # the first wall bounce after Enter at frame 2400, from the replay's trace
buffer=1024       # frames per device buffer, as the SDL audio sink asks for

status=0
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/out.raw" \
  "$game" --data "$data" --replay "$here/disk_audio.replay" --trace "$work/trace.jsonl" \
  >"$work/log.txt" 2>&1 || status=$?
[ "$status" -eq 0 ] || { cat "$work/log.txt"; echo "FAIL: the game exited with $status" >&2; exit 1; }
[ -s "$work/out.raw" ] || { cat "$work/log.txt"; echo "FAIL: no audio was written" >&2; exit 1; }

"$check" "$work/out.raw" "$work/trace.jsonl" "$data" "$buffer" "$bounce_frame"
