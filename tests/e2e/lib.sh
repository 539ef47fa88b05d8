# Shared by the end-to-end checks: a private virtual display, the game under it, and pixel probes.

fail() { echo "FAIL: $*" >&2; exit 1; }

# Starts Xvfb on a free display number with a 640 x 480 screen, so that the game's full-screen
# picture maps one to one onto the screenshot.
start_display() {
  local n
  for n in ${ZORVEX_DISPLAYS:-$(seq 40 99)}; do  # ZORVEX_DISPLAYS: the numbers to try instead
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 "${1:-640x480x24}" -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null
  done
  fail "no virtual display could be started"
}

stop_display() { [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null; wait 2>/dev/null || true; }

# Up to 30 s: a loaded machine can be slow to start SDL and open the window.
find_window() {
  for _ in $(seq 300); do
    WINDOW=$(xdotool search --name '^Zorvex!$' 2>/dev/null | head -n 1 || true)
    [ -n "$WINDOW" ] && return 0
    sleep 0.1
  done
  return 1
}

wait_for_window() { find_window || fail "the game's window did not appear"; }

shot() { import -window root "$1"; }

# The mean and the brightest value (0 to 1) of a screenshot's rectangle.
region_mean() { convert "$1" -crop "$2" +repage -colorspace gray -format '%[fx:mean]' info:; }
region_max() { convert "$1" -crop "$2" +repage -colorspace gray -format '%[fx:maxima]' info:; }

above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
