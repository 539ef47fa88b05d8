#!/usr/bin/env bash
# Replays a kept game with the browser build and compares its trace with Linux's.
# Usage: replay.sh node|chromium PAGE_DIR TRACEDIFF REPLAY   (REPLAY's .trace.gz beside it)
# Exits 77 (skipped) when Chromium is not installed.
set -euo pipefail
runner="$1"; page="$2"; tracediff="$3"; replay="$4"
here="$(cd "$(dirname "$0")/../.." && pwd)"
if [ "$runner" = chromium ] && ! command -v "${ZORVEX_CHROMIUM:-chromium}" >/dev/null; then
  echo "chromium is not installed: skipped" >&2
  exit 77
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
node "$here/platform/web/${runner/chromium/web}_run.mjs" "$page" --headless --replay "$replay" \
  --trace "$work/actual.jsonl"
gzip -dc "${replay%.replay}.trace.gz" > "$work/expected.jsonl"
"$tracediff" "$work/expected.jsonl" "$work/actual.jsonl"
