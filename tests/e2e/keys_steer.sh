#!/usr/bin/env bash
# A game played with the keyboard alone under a virtual display, driven by xdotool: Enter into
# play, Right held then D tapped, Space fired twice; then the ship steered away from every ball
# until the game is over, Enter for a new game, and Escape out. The live game, recorded,
# replays headless to the very same trace: the keys reach the game as mouse motion and button.
# Then the mouse at --sensitivity 50 moves the pointer half as far.
set -euo pipefail
game="$1"
data="$2"
tracediff="$3"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"
work="$(mktemp -d)"
game_pid=
# A game left running when the display goes would spin in its exit: it is ended first, by force
# if it does not go within five seconds.
cleanup() {
  if [ -n "$game_pid" ]; then
    kill "$game_pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$game_pid" 2>/dev/null || true
  fi
  stop_display
  rm -rf "$work"
}
trap cleanup EXIT

# The latest value of a whole-number field, from a line written whole (the comma after it).
last_field() { grep -o "\"$1\":-\?[0-9]*," "$work/trace.jsonl" | tail -n 1 | tr -dc -- '-0-9'; }

start_display
"$game" --data "$data" --nosound --trace "$work/trace.jsonl" --record "$work/game.replay" \
  >"$work/out.txt" 2>&1 &
game_pid=$!
wait_for_window
press_start "$work/trace.jsonl"
sleep 0.5
start=$(last_field pointer)

# Held for 0.3 s: past the slow start, well short of the field's width.
xdotool keydown Right
sleep 0.3
xdotool keyup Right
sleep 0.3
held=$(last_field pointer)
moved=$((held - start))
[ "$moved" -ge 40 ] && [ "$moved" -le 400 ] || fail "Right held 0.3 s moved the pointer $moved"

# A tap places the ship by a pixel or two.
xdotool key d
sleep 0.3
tapped=$(( $(last_field pointer) - held ))
[ "$tapped" -ge 1 ] && [ "$tapped" -le 4 ] || fail "a tap of D moved the pointer $tapped"

# Space held fires once; pressed again, once more.
shots_before=$(grep -c '"shots":\[\[' "$work/trace.jsonl" || true)
xdotool keydown space
sleep 0.5
xdotool keyup space
sleep 0.1
xdotool key space
sleep 0.5
grep -q '"shots":\[\[' "$work/trace.jsonl" || fail "Space fired no shot"
shots_after=$(grep -c '"shots":\[\[' "$work/trace.jsonl")
[ "$shots_after" -gt "$shots_before" ] || fail "Space fired no shot"

# Every ball missed with the arrow keys: the ship runs from where the ball is.
line() { tail -n 2 "$work/trace.jsonl" | head -n 1; }
field() { line | grep -o "\"$1\":\[*-\?[0-9]*" | tr -dc -- '-0-9'; }
lost=
for _ in $(seq 300); do
  [ "$(field mode)" = 3 ] && { lost=1; break; }
  # No ball between a loss and the next serve: the pipe's grep finds nothing, which is no fault.
  ball=$(line | grep -o '"balls":\[\[[0-9]*,-\?[0-9]*' | sed 's/.*,//' || true)
  key=Left
  [ -n "$ball" ] && [ "$ball" -lt $(( $(field ship) + 32 )) ] && key=Right
  xdotool keydown $key
  sleep 0.15
  xdotool keyup $key
done
[ -n "$lost" ] || fail "the keys did not lose every ball within a minute"
sleep 1
press_start "$work/trace.jsonl"
[ "$(field mode)" = 1 ] && [ "$(field lives)" = 3 ] ||
  fail "Enter at game over did not start a new game: $(line | cut -c1-80)"

xdotool key Escape
for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$game_pid" 2>/dev/null && { kill "$game_pid"; fail "Escape did not end the game"; }
wait "$game_pid" || fail "the game exited with status $? after Escape ($(cat "$work/out.txt"))"
game_pid=

grep -q '"mode":1' "$work/trace.jsonl" || fail "Enter did not start a game"
"$game" --headless --nosound --data "$data" --replay "$work/game.replay" --trace "$work/replayed.jsonl"
"$tracediff" "$work/trace.jsonl" "$work/replayed.jsonl" || fail "the recording does not replay the live game"

rm -f "$work/trace.jsonl"  # the first game's would say play at once
"$game" --data "$data" --nosound --sensitivity 50 --trace "$work/trace.jsonl" >/dev/null 2>&1 &
game_pid=$!
wait_for_window
press_start "$work/trace.jsonl"
sleep 0.5
start=$(last_field pointer)
for _ in 1 2 3 4 5; do
  xdotool mousemove_relative -- 41 0
  sleep 0.1
done
sleep 0.3
halved=$(( $(last_field pointer) - start ))
xdotool key Escape
wait "$game_pid" || fail "the game at half sensitivity exited with status $?"
game_pid=
[ "$halved" -eq 102 ] || fail "205 counts at --sensitivity 50 moved the pointer $halved, not 102"
echo "ok: Right held moved $moved, a tap of D $tapped, Space fired, every ball lost, a new" \
  "game from game over, exit 0, replayed;" \
  "205 counts at half sensitivity moved $halved"
