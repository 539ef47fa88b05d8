#!/usr/bin/env bash
# A recorded game replays to the same trace: the autopilot plays and records, then the
# recording is replayed and both traces are compared frame by frame.
set -euo pipefail
game="$1"; tracediff="$2"; data="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$game" --headless --autoplay --frames 6000 --seed 4294960000 --frame-ms 17 --data "$data" \
  --record "$work/game.replay" --trace "$work/played.jsonl"
"$game" --headless --data "$data" --replay "$work/game.replay" --trace "$work/replayed.jsonl"
"$tracediff" "$work/played.jsonl" "$work/replayed.jsonl"
