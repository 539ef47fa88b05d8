#!/usr/bin/env bash
# The X server dies under a running game: the game ends within seconds with status 1, says so
# once (in the log when there is one, else on standard error) and keeps what a quit keeps: the
# settings changed in the run and the best game finished in it. Full screen in play, then a
# paused window with no log.
set -euo pipefail
game="$1"
data="$2"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"
work="$(mktemp -d /tmp/zorvex-display-e2e.XXXXXX)"
game_pid=
cleanup() {
  if [ -n "$game_pid" ]; then kill -9 "$game_pid" 2>/dev/null || true; fi
  stop_display
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
said='The display went away: the game ends'

launch() {  # launch ARG...: the game in the background, its window up
  "$game" --data "$data" --nosound "$@" >"$work/out.txt" 2>&1 &
  game_pid=$!
  wait_for_window
  sleep 1
}

# kill_display SIGNAL: the server goes; the game must be gone 5 s later, with status 1.
kill_display() {
  kill "-$1" "$XVFB_PID"
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=
  rm -f "/tmp/.X11-unix/X${DISPLAY#:}"  # a killed server leaves its socket behind
  for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$game_pid" 2>/dev/null && fail "the game still runs 5 s after its display died"
  local status=0
  wait "$game_pid" || status=$?
  game_pid=
  [ "$status" = 1 ] || fail "the game exited with status $status: $(cat "$work/out.txt")"
}

# In play, full screen, after a game over and a change of volume.
start_display
launch --log "$work/game.log"
leave_title
xdotool key minus
for beat in $(seq 120); do
  grep -q '^Game over' "$work/game.log" && break
  lose_beat "$beat"
  sleep 0.5
done
grep -q '^Game over.*best game #1$' "$work/game.log" || fail "no best game: $(cat "$work/game.log")"
xdotool key Return
sleep 0.5
kill_display KILL
[ "$(grep -c "^$said\$" "$work/game.log")" = 1 ] || fail "not said once: $(cat "$work/game.log")"
[ ! -s "$work/out.txt" ] || fail "more on standard error: $(cat "$work/out.txt")"
grep -q '^volume = [1-9][0-9]$' "$XDG_CONFIG_HOME/zorvex/settings.ini" || fail "the volume was lost"
grep -q '^1 [0-9]' <("$game" --scores) || fail "the best game was lost"

# Paused in a window, with no log: said on standard error, and only that.
start_display
launch --window
xdotool key p
sleep 0.5
kill_display TERM
[ "$(cat "$work/out.txt")" = "zorvex: $said" ] || fail "standard error: $(cat "$work/out.txt")"
echo "display lost: the game ended promptly with status 1, said once, settings and best game kept"
