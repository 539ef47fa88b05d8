#!/usr/bin/env bash
# The browser build shows the same pictures as Linux: --snapshot of a kept replay's frames from
# both, compared byte for byte. Usage: snapshots.sh GAME DATA_DIR
# Exits 77 (skipped) when Chromium is not installed or the game has no --snapshot.
set -euo pipefail
game="$1"; data="$2"
here="$(cd "$(dirname "$0")/../.." && pwd)"
if ! command -v "${ZORVEX_CHROMIUM:-chromium}" >/dev/null; then
  echo "chromium is not installed: skipped" >&2
  exit 77
fi
if ! "$game" --help | grep -q -- --snapshot; then
  echo "this build has no --snapshot: skipped" >&2
  exit 77
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
replay="$here/tests/replays/live_xvfb.replay"
frames=(1 400 1200 2600)  # the title, play, later play with more on screen
linux=() web=()
for f in "${frames[@]}"; do
  linux+=(--snapshot "$f:$work/linux_$f.bmp")
  web+=(--snapshot "$f:$work/web_$f.bmp")
done
"$game" --headless --data "$data" --replay "$replay" "${linux[@]}"
node "$here/platform/web/web_run.mjs" "$here/build-web" --headless --replay "$replay" "${web[@]}"
status=0
for f in "${frames[@]}"; do
  if ! cmp -s "$work/linux_$f.bmp" "$work/web_$f.bmp"; then
    echo "frame $f: the browser's picture differs from Linux's" >&2
    status=1
  fi
done
exit $status
