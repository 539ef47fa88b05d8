#!/usr/bin/env bash
# Replays a recorded game headless and compares its trace with the one kept beside it.
# Usage: check_replay.sh GAME TRACEDIFF DATA_DIR NAME   (NAME.replay and NAME.trace.gz here)
set -euo pipefail
game="$1"; tracediff="$2"; data="$3"; name="$4"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$game" --headless --data "$data" --replay "$here/$name.replay" --trace "$work/actual.jsonl"
gzip -dc "$here/$name.trace.gz" > "$work/expected.jsonl"
"$tracediff" "$work/expected.jsonl" "$work/actual.jsonl"
