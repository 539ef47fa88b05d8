#!/usr/bin/env bash
# The page played with a pad alone, in headless Chromium. Usage: pad.sh PAGE_DIR
# Exits 77 (skipped) when Chromium is not installed.
set -euo pipefail
if ! command -v "${ZORVEX_CHROMIUM:-chromium}" >/dev/null; then
  echo "chromium is not installed: skipped" >&2
  exit 77
fi
exec node "$(dirname "$0")/pad.mjs" "$@"
