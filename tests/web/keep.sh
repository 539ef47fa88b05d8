#!/usr/bin/env bash
# What the page keeps between visits, in headless Chromium. Usage: keep.sh PAGE_DIR
# Exits 77 (skipped) when Chromium is not installed.
set -euo pipefail
if ! command -v "${ZORVEX_CHROMIUM:-chromium}" >/dev/null; then
  echo "chromium is not installed: skipped" >&2
  exit 77
fi
# Chromium leaves a folder of its own in the temporary folder: this run's go with it.
TMPDIR="$(mktemp -d /tmp/zorvex-keep-web.XXXXXX)"
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT
node "$(dirname "$0")/keep.mjs" "$@"
