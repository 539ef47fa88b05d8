#!/usr/bin/env bash
# Best games from live games played by xdotool under Xvfb: a game over lands in --scores with its
# score and level, and --watch replays it to that score; a game that does not make a full table
# changes no file; two copies of the game on two displays finishing together both land.
set -euo pipefail
game="$1"
data="$2"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"
work="$(mktemp -d /tmp/zorvex-best-e2e.XXXXXX)"
pids=()
displays=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${displays[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
best="$XDG_DATA_HOME/zorvex"

new_display() { start_display; displays+=("$XVFB_PID"); }

# start_game LOG: on the current display, through the title into play.
start_game() {
  "$game" --data "$data" --nosound --log "$1" >>"$work/out.txt" 2>&1 &
  pids+=($!)
  wait_for_window
  leave_title
}

# Loses the game on every display until every log named has its game over, then quits each.
play_out() {
  for beat in $(seq 120); do
    local done=1
    for log in "$@"; do
      grep -q '^Game over' "$log" || done=0
    done
    [ "$done" = 1 ] && break
    for d in "${screens[@]}"; do DISPLAY="$d" lose_beat "$beat"; done
    sleep 0.5
  done
  for d in "${screens[@]}"; do DISPLAY="$d" xdotool key Escape; done
  for pid in "${pids[@]}"; do wait "$pid" || fail "the game exited with status $?: $(cat "$work/out.txt")"; done
  pids=()
  for log in "$@"; do grep -q '^Game over' "$log" || fail "no game over in $log"; done
}

# watched N SCORE: --watch N, headless, ends on SCORE at game over.
watched() {
  "$game" --data "$data" --watch "$1" --headless --trace "$work/watch.jsonl"
  tail -n 1 "$work/watch.jsonl" | grep -q "\"mode\":3,\"level\":[0-9]*,\"score\":$2," ||
    fail "--watch $1 did not end on $2: $(tail -n 1 "$work/watch.jsonl" | cut -c1-120)"
}

new_display
screens=("$DISPLAY")
start_game "$work/one.log"
play_out "$work/one.log"
read -r level score < <(sed -nE 's/^Game over at level ([0-9]+) with ([0-9]+) points: best game #1$/\1 \2/p' "$work/one.log")
[ -n "${score:-}" ] || fail "the first game did not make the empty table: $(cat "$work/one.log")"
"$game" --scores >"$work/scores.txt"
grep -qE "^1 $score $level [0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9:]{8}Z$" "$work/scores.txt" ||
  fail "--scores does not list it: $(cat "$work/scores.txt")"
watched 1 "$score"

# A full table of better games: the next game changes nothing.
rm -f "$best"/*
for i in $(seq 10); do
  echo "99999 9 2026-01-01T00:00:0$((i % 10))Z game-$i.replay" >>"$best/best-games.txt"
  echo "not a real game $i" >"$best/game-$i.replay"
done
: >"$best/best-games.lock"
before=$(cd "$best" && ls -l --time-style=+%s.%N && md5sum ./*)
start_game "$work/two.log"
play_out "$work/two.log"
grep -q 'not among the best games' "$work/two.log" || fail "the second game: $(cat "$work/two.log")"
[ "$(cd "$best" && ls -l --time-style=+%s.%N && md5sum ./*)" = "$before" ] || fail "a game off the table changed the files"

# Two copies finishing together, each on its own display.
rm -f "$best"/*
new_display
screens+=("$DISPLAY")
start_game "$work/a.log"
DISPLAY="${screens[0]}" start_game "$work/b.log"
play_out "$work/a.log" "$work/b.log"
"$game" --scores >"$work/scores.txt"
[ "$(wc -l <"$work/scores.txt")" = 2 ] || fail "two games at once left: $(cat "$work/scores.txt")"
[ "$(ls "$best"/*.replay | wc -l)" = 2 ] || fail "not two recordings: $(ls "$best")"
while read -r rank points _; do watched "$rank" "$points"; done <"$work/scores.txt"
echo "best games: $score points at level $level listed and watched; a full table untouched; two at once both kept"
