#!/usr/bin/env bash
# The Windows build under Wine, against the Linux one: every kept replay headless, a kept live
# game on the real DirectDraw, DirectSound and DirectInput in a window, a game played with
# xdotool and recorded on Windows replayed on Linux, the host's keys (tests/windows/host_keys.sh),
# the game under a window manager's weather (weather.sh), the settings and best games kept
# between launches (kept_files.sh), a game played with a pad alone (pad_play.sh), the start-up
# failure table on real DirectX (startup_faults.sh), and start-up failures reported as on Linux.
# Exits 77 (skipped) only when Wine or the cross compilers cannot be installed.
set -uo pipefail
src="$1"     # the source tree
build="$2"   # a native build tree: zorvex and the generated data
tracediff="$3"
source "$src/tests/e2e/lib.sh"
source "$src/scripts/deps.sh"
work="$build/windows-check"
mkdir -p "$work"
failures=0
miss() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

if ! zorvex_install_deps "${ZORVEX_WINDOWS_BUILD_PACKAGES[@]}" "${ZORVEX_WINDOWS_TEST_PACKAGES[@]}" \
  >"$work/deps.log" 2>&1 || ! command -v wine >/dev/null; then
  echo "SKIPPED: Wine and the MinGW-w64 compilers could not be installed ($work/deps.log)"
  exit 77
fi
ZORVEX_WERROR=ON ZORVEX_HOST_BUILD="$build" "$src/scripts/build-windows" >"$work/build.log" 2>&1 ||
  { tail -n 40 "$work/build.log"; fail "scripts/build-windows failed"; }

# The program as a player unpacks it, in a Wine prefix and home of its own (ALSA's default
# device is a null one, so DirectSound opens and plays into nothing).
rm -rf "$work/pkg" && mkdir -p "$work/pkg" "$work/home"
(cd "$work/pkg" && unzip -q "$src/build-windows/zorvex-windows-x86_64.zip") || fail "cannot unzip"
echo 'pcm.!default { type null }' >"$work/home/.asoundrc"
export HOME="$work/home" WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine makes a folder for its server's socket under TMPDIR (/tmp unless set): here, the check's
# own, removed when it ends.
export TMPDIR="$work/tmp"
rm -rf "$TMPDIR" && mkdir -p "$TMPDIR"
# Wine's server and every program of this prefix end with the check, and it waits for them.
stop_wine() { wineserver -k 2>/dev/null; timeout 20 wineserver -w 2>/dev/null || echo "warning: wineserver did not exit" >&2; }
trap 'stop_wine; stop_display; rm -rf "$TMPDIR" || echo "warning: $TMPDIR could not be removed" >&2' EXIT
exe() { (cd "$work/pkg" && wine zorvex.exe "$@"); }
linux() { "$build/zorvex" --data "$build/data" "$@"; }
same_trace() { "$tracediff" "$1" "$2" >"$work/diff.txt" 2>&1 || { cat "$work/diff.txt" >&2; return 1; }; }

start_display 640x480x16
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1
  # Wine's GDI renderer: the GL one draws each blit through software GL, some twenty times slower.
  wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d gdi /f >/dev/null 2>&1
fi

for replay in "$src"/tests/replays/*.replay; do
  name="$(basename "$replay" .replay)"
  gzip -dc "${replay%.replay}.trace.gz" >"$work/$name.expected.jsonl"
  exe --headless --replay "$replay" --trace "$work/$name.jsonl" &&
    same_trace "$work/$name.expected.jsonl" "$work/$name.jsonl" &&
    pass "headless replay $name" || miss "headless replay $name"
done

# The real backend in a window, traced, with pictures of a few frames; then in its full-screen
# mode, to frame 900. Each picture is the Linux build's. Frames 120 to 600 are in play, whole;
# frame 900 is the game-over screen, whose two lines of text are drawn with the system's font on
# Windows: its bottom 50 rows are left out (stored first, after the 54-byte header).
live="$src/tests/replays/live_xvfb.replay"
head -n 904 "$live" >"$work/live_900.replay"
shots=()
for n in 120 400 600 900; do shots+=(--snapshot "$n:$work/window_$n.bmp"); done
exe --window --replay "$live" --trace "$work/dx_live.jsonl" "${shots[@]}" &&
  same_trace "$work/live_xvfb.expected.jsonl" "$work/dx_live.jsonl" &&
  pass "DirectX replay of live_xvfb in a window" || miss "DirectX replay of live_xvfb in a window"
exe --replay "$work/live_900.replay" --snapshot "120:$work/full_120.bmp" \
  --snapshot "600:$work/full_600.bmp" --snapshot "900:$work/full_900.bmp" ||
  miss "DirectX replay of live_xvfb in full screen"
linux --headless --replay "$live" "${shots[@]//window_/linux_}" >/dev/null
same_picture() {
  local skip=0
  [ "$2" = 900 ] && skip=$((54 + 50 * 640 * 3))
  cmp -i "$skip" "$work/$1_$2.bmp" "$work/linux_$2.bmp" &&
    pass "picture of frame $2, $1" || miss "picture of frame $2, $1, differs from Linux's"
}
for n in 120 400 600 900; do same_picture window "$n"; done
for n in 120 600 900; do same_picture full "$n"; done

# A game played live on Windows, recorded, then replayed on Linux to the same trace.
exe --window --nosound --record "$work/win.replay" --trace "$work/win.jsonl" >/dev/null 2>&1 &
game=$!
wait_for_window
sleep 1
xdotool mousemove 320 240 key Return
sleep 0.5
for dx in 150 -60 200 -300 90; do
  xdotool mousemove_relative -- "$dx" 0 click 1
  sleep 0.3
done
xdotool key Escape
for _ in $(seq 100); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
wait "$game" || miss "the recorded game did not end with status 0 on Escape"
grep -Eq '^[0-9]+ 0 0 1 0$' "$work/win.replay" || miss "Enter was not seen through DirectInput"
grep -Eq '^[0-9]+ -?[1-9][0-9]* ' "$work/win.replay" || miss "mouse motion was not seen through DirectInput"
grep -Eq '^[0-9]+ -?[0-9]+ 1 ' "$work/win.replay" || miss "the mouse button was not seen through DirectInput"
linux --headless --nosound --replay "$work/win.replay" --trace "$work/win_on_linux.jsonl" &&
  same_trace "$work/win.jsonl" "$work/win_on_linux.jsonl" &&
  pass "a game recorded on Windows replays on Linux" || miss "a game recorded on Windows replays differently on Linux"

# The host's keys on the real backend; then Alt+Tab and Alt+Enter under a window manager.
source "$src/tests/windows/host_keys.sh"
source "$src/tests/windows/weather.sh"

# Sound buffers the system takes away, over a stand-in DirectSound (sound_lost_check.cpp).
lost_check="$src/build-windows/cross/zorvex-sound-lost-check.exe"
cmake --build "$src/build-windows/cross" --target zorvex-sound-lost-check >"$work/lost_build.log" 2>&1 &&
  wine "$lost_check" >"$work/lost.txt" 2>/dev/null &&
  pass "lost sound buffers are restored with the game's sound and play on" ||
  miss "lost sound buffers: $(grep -h FAIL "$work/lost.txt" "$work/lost_build.log" 2>/dev/null)"

# The start-up failure table, each failure made on the real backend.
source "$src/tests/windows/startup_faults.sh"

source "$src/tests/windows/kept_files.sh"
# Steering with the keys on the real backend.
source "$src/tests/windows/keys_steer.sh"
# A game played with a scripted pad alone, through a stand-in XInput.
source "$src/tests/windows/pad_play.sh"

# Start-up failures: the exit status and the one line on standard error, as on Linux.
mkdir -p "$work/empty"
exe --window --data "$work/empty" >/dev/null 2>"$work/win_sheet.err"
status=$?
linux --headless --autoplay --data "$work/empty" >/dev/null 2>"$work/linux_sheet.err"
[ "$status" = $? ] && [ "$status" = 1 ] && cmp -s "$work/win_sheet.err" "$work/linux_sheet.err" &&
  pass "a missing sheet: $(cat "$work/win_sheet.err")" || miss "a missing sheet is reported differently"
stop_wine
stop_display
start_display 400x300x24  # too small for the game's mode
exe --autoplay >/dev/null 2>"$work/win_mode.err"
status=$?
[ "$status" = 1 ] && [ "$(cat "$work/win_mode.err")" = "zorvex: Set Display Mode Failed." ] &&
  [ "$(wc -l <"$work/win_mode.err")" = 1 ] &&
  pass "the display mode refused: $(cat "$work/win_mode.err")" || miss "the display mode failure: status $status, $(cat "$work/win_mode.err")"

[ "$failures" = 0 ] || fail "$failures Windows checks failed"
echo "ok: every Windows check passed"
