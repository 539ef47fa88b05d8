# Shared by the end-to-end checks: a private virtual display, the game under it, and pixel probes.

fail() { echo "FAIL: $*" >&2; exit 1; }

# Starts Xvfb with a 640 x 480 screen, so that the game's full-screen picture maps one to one onto
# the screenshot. The server picks a free display number itself and says it only once it listens,
# so two checks starting at once never share one. Without -noreset the server resets whenever its
# last client leaves (a probe, an xdotool call), and a game connecting just then finds no display.
start_display() {
  local number_file
  number_file="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 "${1:-640x480x24}" -nolisten tcp -noreset 3>"$number_file" \
    >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    if [ -s "$number_file" ]; then
      export DISPLAY=":$(head -n 1 "$number_file")"
      rm -f "$number_file"
      return 0
    fi
    sleep 0.1
  done
  rm -f "$number_file"
  fail "no virtual display could be started"
}

# Ends the server and waits for it, so that its lock and socket are gone when the check ends; one
# that will not go is killed, and one that cannot be is a warning, never a changed result.
stop_display() {
  [ -n "${XVFB_PID:-}" ] || return 0
  # Each step may fail (the server already gone, its status a signal's): none ends the check.
  kill "$XVFB_PID" 2>/dev/null || true
  for _ in $(seq 50); do kill -0 "$XVFB_PID" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$XVFB_PID" 2>/dev/null || true
  wait "$XVFB_PID" 2>/dev/null || true
  if kill -0 "$XVFB_PID" 2>/dev/null; then echo "warning: Xvfb $XVFB_PID did not exit" >&2; fi
  XVFB_PID=
  return 0
}

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

# Presses Enter until the last whole line of the trace $1 says play (mode 1), for up to 20 s: a
# loaded machine may give the new window its focus, or finish the title, later than it appears.
press_start() {
  local latest
  for _ in $(seq 20); do
    xdotool key Return
    for _ in $(seq 10); do
      latest=$(tail -n 2 "$1" 2>/dev/null | head -n 1 | grep -o '"mode":[0-9]*' || true)
      [ "$latest" = '"mode":1' ] && return 0
      sleep 0.1
    done
  done
  fail "Enter did not start a game: $(tail -n 1 "$1" 2>/dev/null | cut -c1-80)"
}

# The same for a run with no trace, by the picture: the title leaves (0, 120)-(80, 420) black, and
# play's background covers it. The host's notes sit at the top, out of the way.
leave_title() {
  local probe
  probe="$(mktemp /tmp/zorvex-title.XXXXXX.png)"
  for _ in $(seq 20); do
    xdotool key Return
    sleep 0.5
    shot "$probe"
    if above "$(region_max "$probe" 80x300+0+120)" 0; then
      rm -f "$probe"
      return 0
    fi
  done
  rm -f "$probe"
  fail "Enter did not start a game"
}

shot() { import -window root "$1"; }

# Beat N (twice a second) of a game left to be lost: a shot fired and, every fourth second, the
# ship sent across the field. A ship that never moves can send a ball straight back up for ever:
# about one first wave in 150 never ends so.
lose_beat() {
  xdotool click 1
  (($1 % 8 == 0)) || return 0
  xdotool mousemove_relative -- $(($1 / 8 % 2 ? 319 : -319)) 0
}

# The mean and the brightest value (0 to 1) of a screenshot's rectangle.
region_mean() { convert "$1" -crop "$2" +repage -colorspace gray -format '%[fx:mean]' info:; }
region_max() { convert "$1" -crop "$2" +repage -colorspace gray -format '%[fx:maxima]' info:; }

above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
