#!/usr/bin/env bash
# The page on a phone in headless Chromium.
# Usage: phone.sh PAGE_DIR DATA_DIR SHOTS_DIR GAME TRACEDIFF
# Exits 77 (skipped) when Chromium is not installed.
set -euo pipefail
if ! command -v "${ZORVEX_CHROMIUM:-chromium}" >/dev/null; then
  echo "chromium is not installed: skipped" >&2
  exit 77
fi
mkdir -p "$3"
exec node "$(dirname "$0")/phone.mjs" "$@"
