#!/usr/bin/env bash
# A game played with a pad alone on the Windows build under Wine: no key, no mouse. Wine shows
# the program no pad here, so a stand-in xinput1_4.dll (xinput_stand_in.cpp) beside a copy of the
# program plays a scripted one through the game's own XInputGetState calls. Start starts a game,
# the stick and the d-pad steer, the south button and the right trigger fire (and nothing else
# does), a tap of Back does nothing, unplugging holds the frames until the pad is back, the game
# is lost to its end and Back held a second quits. The recording replays on Linux to the same
# trace. Run by wine_check.sh with its display, Wine prefix and unpacked program; sourced, so that
# `miss`, `pass`, `linux` and `same_trace` are its own.
pad="$work/pad"
rm -rf "$pad" && mkdir -p "$pad/exe"
cmake --build "$src/build-windows/cross" --target zorvex-xinput-stand-in >"$pad/build.log" 2>&1 ||
  miss "the stand-in XInput did not build: $(tail -n 5 "$pad/build.log")"
# The program's files linked, not copied: only the stand-in is added beside them.
cp -rs "$work/pkg/." "$pad/exe/" && cp "$src/build-windows/cross/stand-in/xinput1_4.dll" "$pad/exe/"

# Times in ms from the game's first look at its pads, which is its first frame. After `wait`,
# until the game is over, the stick takes the ship from one wall to the other and back, resting
# 4 s at each, where the balls get by. A ball bouncing straight up and down on the ship's centre
# keeps its line for good (its new sideways speed is a third of the old, while the centre adds
# none), so the ship leaves that line for longer than the ball's way up and down (180 frames, 3 s
# at full speed) and the ball is lost. Should a loaded machine slow the frames so much that the
# way takes longer, the ball's returns still drift across the ship's rounds. Back is held from
# the game's end.
cat >"$pad/script" <<'SCRIPT'
0     -
800   start
950   -
1400  lx=32767      # the stick full right
1700  lx=4000       # at rest, inside the dead zone
1900  left          # the d-pad
2200  b x y up down lt=255 ly=32767   # none of these steers or fires
2300  -
2400  a
2550  -
2700  rt=255
2850  -
3000  back          # let go within the second: not Escape
3500  -
3600  unplugged
5100  -             # seen within a second: the game asks an empty slot once a second
6300  lx=-32767     # the ship to the left wall
6900  wait
0     lx=32767      # the right wall
4000  lx=-32767     # the left wall
8000  again
0     back
1300  -
SCRIPT
(cd "$pad/exe" && WINEDLLOVERRIDES="$WINEDLLOVERRIDES;xinput1_4=n" \
  ZORVEX_PAD_SCRIPT="Z:$pad/script" wine zorvex.exe --window --nosound \
  --record "$pad/game.replay" --trace "$pad/trace.jsonl") \
  >/dev/null 2>"$pad/err.txt" &
game=$!
# Three minutes for the game's end: most end within 20 s, but a machine loaded to 60 ms frames
# plays in slow motion, and one game in some sixty then takes more than 90 s.
for _ in $(seq 1800); do grep -q '"mode":3' "$pad/trace.jsonl" 2>/dev/null && break; sleep 0.1; done
touch "$pad/script.go"
for _ in $(seq 100); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
kill -0 "$game" 2>/dev/null && wineserver -k
wait "$game" || miss "the pad's game did not end with status 0 on Back held: $(cat "$pad/err.txt")"

# The frames as "ms-after-the-first dx lmb enter esc".
tail -n +3 "$pad/game.replay" |
  awk '!t0 { t0 = $1 } { print $1 - t0, $2, $3, $4, $5 }' >"$pad/frames"
# The frames from ms $1 to $2, and 100 ms more: a change is seen at the next frame, which a loaded
# machine may give late. The script leaves 150 ms or more between its parts.
frames() { awk -v a="$1" -v b="$2" '$1 >= a && $1 < b + 100' "$pad/frames"; }
sum_dx() { frames "$1" "$2" | awk '{ s += $2 } END { print s + 0 }'; }
frames 800 950 | grep -q ' 1 0$' && grep -q '"mode":1' "$pad/trace.jsonl" &&
  pass "Start started a game from the title" || miss "Start did not start a game"
stick=$(sum_dx 1400 1700)
[ "$stick" -ge 360 ] && [ "$stick" -le 640 ] &&
  pass "the stick full right for 300 ms steered $stick counts, as on Linux (1.6 a ms)" ||
  miss "the stick full right for 300 ms steered $stick counts, not about 480"
dpad=$(sum_dx 1900 2200)
# The arrow keys' curve, which the d-pad shares on every platform, gives 163 counts at 300 ms.
[ "$dpad" -le -100 ] && [ "$dpad" -ge -300 ] &&
  pass "the d-pad steered left $((-dpad)) counts in 300 ms, as the arrow keys do" ||
  miss "the d-pad held left for 300 ms steered $dpad counts"
# Only those frames: the stick at rest within its dead zone, and the buttons that mean nothing.
# A frame holds the motion since the one before it, so one that follows a late frame (a loaded
# machine) still holds the steering before ms $1: only frames whose span starts after it count.
quiet() {
  awk -v a="$1" -v b="$2" 'p >= a && $1 < b && ($2 || $3) { n++ } { p = $1 } END { exit n > 0 }' \
    "$pad/frames"
}
quiet 1774 1890 && quiet 2224 2390 &&
  pass "the stick in its dead zone, B, X, Y, up, down, the left trigger, the stick's y: nothing" ||
  miss "the stick at rest or a button that means nothing steered or fired"
fired() { frames "$1" "$2" | grep -Eq '^[0-9]+ -?[0-9]+ 1 '; }
fired 2400 2550 && fired 2700 2850 && pass "the south button and the right trigger fired" ||
  miss "the south button or the right trigger did not fire"
# From 3500: the last frame played before the pause may come a few ms before 3600.
gap=$(frames 3500 9000 | awk 'p && $1 - p > 900 { print p, $1; exit } { p = $1 }')
[ -n "$gap" ] && grep -q 'Pad unplugged: paused' "$pad/err.txt" &&
  grep -q 'Pad back: playing on' "$pad/err.txt" &&
  pass "unplugged, the game held its frames from ms ${gap% *} to ${gap#* }; plugged in, went on" ||
  miss "unplugging did not hold the frames (gap: ${gap:-none}): $(cat "$pad/err.txt")"
# Back is held only once the game is over: Escape comes a second after, and never before.
over=$(grep -m 1 '"mode":3' "$pad/trace.jsonl" | sed -E 's/^\{"frame":([0-9]+),.*/\1/')
over_ms=$(sed -n "${over:-0}p" "$pad/frames" | cut -d ' ' -f 1)
esc_ms=$(awk '$5 == 1 { print $1; exit }' "$pad/frames")
[ -n "$over_ms" ] && pass "the pad's game was played to its end, at ms $over_ms" ||
  miss "the pad's game never reached its end"
[ -n "$over_ms" ] && [ "${esc_ms:-0}" -gt "$over_ms" ] &&
  pass "Back let go within a second was not Escape" ||
  miss "Escape came at ms ${esc_ms:-never}, before the game's end (ms ${over_ms:-never})"
[ -n "$over_ms" ] && [ -n "$esc_ms" ] && [ $((esc_ms - over_ms)) -ge 1000 ] &&
  pass "Back held was Escape after $((esc_ms - over_ms)) ms" ||
  miss "Back held: Escape at ms ${esc_ms:-never}, the game over at ms ${over_ms:-never}"
# Held 300 ms past its second: Escape as long, and the game ends as Back is let go.
held=$(awk '$5 == 1' "$pad/frames" | wc -l)
[ "$held" -ge 5 ] && tail -n 1 "$pad/frames" | grep -q ' 0$' &&
  pass "Escape held $held frames; the game ended as Back was let go" ||
  miss "Escape held $held frames, the last frame: $(tail -n 1 "$pad/frames")"
linux --headless --nosound --replay "$pad/game.replay" --trace "$pad/on_linux.jsonl" &&
  same_trace "$pad/trace.jsonl" "$pad/on_linux.jsonl" &&
  pass "the pad's game replays on Linux" || miss "the pad's game replays differently on Linux"
