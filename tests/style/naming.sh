#!/usr/bin/env bash
# The naming rule of docs/style.md over the program's own sources (not the tests, whose framework
# makes names of its own), with clang-tidy and the settings in .clang-tidy. Exits 77 (skipped)
# when clang-tidy is not installed.
set -euo pipefail
src="$1"    # the source tree
build="$2"  # a native build tree with compile_commands.json
tidy="${3:-}"
if [ -z "$tidy" ] || [ ! -x "$tidy" ]; then
  echo "SKIPPED: run-clang-tidy is not installed"
  exit 77
fi
cd "$src"
mapfile -t files < <(git ls-files 'app/*.cpp' 'core/*.cpp' 'game/*.cpp' 'gfx/*.cpp' 'input/*.cpp' \
  'sound/*.cpp' 'zorvex/*.cpp' 'host/*.cpp' 'platform/*.cpp' 'platform/*/*.cpp' |
  grep -v -e 'app/main_web' -e 'app/main_windows' -e 'platform/web/' -e 'platform/win32/')
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
status=0
"$tidy" -quiet -j "$(nproc)" -p "$build" "${files[@]}" >"$out" 2>&1 || status=$?
if grep -q 'readability-identifier-naming' "$out" || [ "$status" -ne 0 ]; then
  # Each name once, where it is declared.
  sed 's/\x1b\[[0-9;]*m//g' "$out" | grep -E '(error|warning):' | sort -u | head -n 200
  echo "FAIL: names off the rule in docs/style.md (${#files[@]} files checked)"
  exit 1
fi
echo "ok: ${#files[@]} files follow the naming rule"
