#!/usr/bin/env bash
# Windows under weather: a window manager (openbox) on the display, the kept live game replayed
# in exclusive full screen while the player Alt+Tabs to another program and back, then switches
# to a window and back with Alt+Enter. The game waits while away, its surfaces come back, and its
# pictures at frames 600 and 900 are still Linux's. Sourced by wine_check.sh after its live
# pictures (linux_600.bmp, linux_900.bmp) are made, with `exe`, `miss`, `pass` its own.
weather="$work/weather"
rm -rf "$weather" && mkdir -p "$weather"
wineserver -k 2>/dev/null
stop_display
start_display 640x480x16
openbox --sm-disable >"$weather/openbox.log" 2>&1 &
wm=$!
sleep 1
# The other program to Alt+Tab to, there first so that the game opens in front of it.
(cd "$weather" && wine notepad >/dev/null 2>&1) &
for _ in $(seq 100); do xdotool search --name 'Notepad' >/dev/null 2>&1 && break; sleep 0.2; done

exe --replay "$work/live_900.replay" --trace "$weather/trace.jsonl" \
  --snapshot "600:$weather/full_600.bmp" --snapshot "900:$weather/full_900.bmp" \
  >/dev/null 2>"$weather/err.txt" &
game=$!
wait_for_window
sleep 1.5
trace_size() { stat -c %s "$weather/trace.jsonl" 2>/dev/null || echo 0; }
# Alt+Tab until the window titled $1 is the active one: on a loaded machine a key sent while the
# game is still taking the screen can be lost.
switch_to() {
  for _ in 1 2 3 4 5; do
    xdotool key alt+Tab
    for _ in $(seq 15); do
      sleep 0.2
      xdotool getactivewindow getwindowname 2>/dev/null | grep -q "$1" && return 0
    done
  done
  return 1
}
switch_to Notepad || miss "Alt+Tab did not reach the other program"
# Away, the game waits: its trace stops growing for two seconds, however long a loaded machine
# takes to get there (up to 20 s).
for _ in $(seq 10); do
  away_from=$(trace_size)
  sleep 2
  away_to=$(trace_size)
  [ "$away_from" = "$away_to" ] && break
done
switch_to Zorvex || miss "Alt+Tab did not come back to the game"
# Back, it goes on: the trace grows again within 10 s.
for _ in $(seq 50); do
  sleep 0.2
  back=$(trace_size)
  [ "$back" -gt "$away_to" ] && break
done
[ "$away_from" = "$away_to" ] && [ "$back" -gt "$away_to" ] &&
  pass "Alt+Tab away holds the game, Alt+Tab back lets it go on" ||
  miss "Alt+Tab: the trace went from $away_from to $away_to bytes while away, then to $back"
xdotool key alt+Return
sleep 1.5
xdotool key alt+Return
for _ in $(seq 600); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
wait "$game" || miss "the game under weather ended with a failure: $(cat "$weather/err.txt")"
grep -q 'In a window' "$weather/err.txt" && grep -q 'Full screen' "$weather/err.txt" &&
  pass "Alt+Enter switched to a window and back under openbox" ||
  miss "Alt+Enter did not switch under openbox: $(cat "$weather/err.txt")"
for n in 600 900; do
  skip=0
  [ "$n" = 900 ] && skip=$((54 + 50 * 640 * 3))  # the system font's text rows, as above
  cmp -s -i "$skip" "$weather/full_$n.bmp" "$work/linux_$n.bmp" &&
    pass "after the weather, the picture of frame $n is Linux's" ||
    miss "after the weather, the picture of frame $n differs from Linux's"
done
wineserver -k 2>/dev/null
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
