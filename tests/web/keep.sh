#!/usr/bin/env bash
# What the page keeps between visits, in headless Chromium. Usage: keep.sh PAGE_DIR
# Exits 77 (skipped) when Chromium is not installed.
set -euo pipefail
if ! command -v "${ZORVEX_CHROMIUM:-chromium}" >/dev/null; then
  echo "chromium is not installed: skipped" >&2
  exit 77
fi
# Chromium leaves its singleton folder in /tmp when its profile is removed: the ones this run made
# and no running browser uses go too.
before="$(ls -d /tmp/org.chromium.Chromium.* 2>/dev/null || true)"
tidy() {
  for dir in /tmp/org.chromium.Chromium.*; do
    [ -d "$dir" ] && ! grep -qxF "$dir" <<<"$before" || continue
    [ -e "$dir/SingletonSocket" ] && fuser -s "$dir/SingletonSocket" 2>/dev/null && continue
    rm -rf "$dir"
  done
}
trap tidy EXIT
node "$(dirname "$0")/keep.mjs" "$@"
