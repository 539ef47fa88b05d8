#!/usr/bin/env bash
# The page live in headless Chromium. Usage: smoke.sh PAGE_DIR TITLE_PNG
# Exits 77 (skipped) when Chromium is not installed.
set -euo pipefail
if ! command -v "${ZORVEX_CHROMIUM:-chromium}" >/dev/null; then
  echo "chromium is not installed: skipped" >&2
  exit 77
fi
exec node "$(dirname "$0")/smoke.mjs" "$@"
