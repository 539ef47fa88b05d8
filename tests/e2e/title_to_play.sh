#!/usr/bin/env bash
# The real program under a virtual display, driven by xdotool as a player would: the title
# screen, Enter into play, the mouse steering the ship, Escape out with exit status 0.
set -euo pipefail
game="$1"
data="$2"
tracediff="$3"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"
work="$(mktemp -d)"
game_pid=
cleanup() {
  if [ -n "$game_pid" ]; then kill "$game_pid" 2>/dev/null || true; fi
  stop_display
  rm -rf "$work"
}
trap cleanup EXIT

# With no display to be had the game says so and stops, rather than playing on unseen.
status=0
no_display=$(env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=:65000 timeout 20 "$game" --data "$data" --nosound 2>&1) || status=$?
[ "$status" -eq 1 ] && grep -q 'Could not open the display' <<<"$no_display" ||
  fail "without a display the game gave status $status: $no_display"

start_display
"$game" --data "$data" --nosound --trace "$work/trace.jsonl" --record "$work/game.replay" \
  >"$work/out.txt" 2>&1 &
game_pid=$!
wait_for_window
sleep 1.5

shot "$work/title.png"
# The title picture fills (80, 32)-(560, 192); the text line starts at (0, 460).
above "$(region_mean "$work/title.png" 480x160+80+32)" 0.03 || fail "no title picture at (80, 32)"
above "$(region_max "$work/title.png" 240x20+0+460)" 0.9 || fail "no white text at (0, 460)"
[ "$(region_max "$work/title.png" 640x230+0+200)" = 0 ] || fail "the title screen is not black around its picture"
[ "$(region_max "$work/title.png" 80x420+0+0)" = 0 ] || fail "something is drawn left of the title picture"

xdotool key Return
sleep 1
xdotool mousemove_relative -- 200 0
sleep 0.2
xdotool mousemove_relative -- 100 0
xdotool click 1
sleep 0.3
xdotool click 1
sleep 1
shot "$work/play.png"
# In play the tiled background covers the screen and the HUD sits on top.
above "$(region_mean "$work/play.png" 640x400+0+40)" 0.02 || fail "no background in play"

xdotool key Escape
for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$game_pid" 2>/dev/null && { kill "$game_pid"; fail "Escape did not end the game"; }
wait "$game_pid" || fail "the game exited with status $? after Escape ($(cat "$work/out.txt"))"

grep -q '"mode":1' "$work/trace.jsonl" || fail "Enter did not start a game"
pointer=$(tail -n 1 "$work/trace.jsonl" | sed -E 's/.*"pointer":(-?[0-9]+).*/\1/')
above "$pointer" 100 || fail "the mouse did not move the pointer (pointer $pointer)"
# The live game, recorded, replays to the very same trace.
"$game" --headless --nosound --data "$data" --replay "$work/game.replay" --trace "$work/replayed.jsonl"
"$tracediff" "$work/trace.jsonl" "$work/replayed.jsonl" || fail "the recording does not replay the live game"
echo "ok: title, play, pointer $pointer, exit 0, replayed"
