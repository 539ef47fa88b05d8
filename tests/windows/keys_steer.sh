# The keyboard alone on the Windows build under Wine, pressed with xdotool on the real DirectX
# backend: Right held steers, Space fires, the game recorded replays on Linux to the same trace.
# XInput is loaded and asked every frame; Wine shows it no pad: pad_play.sh plays one.
# Run by wine_check.sh, with its display, Wine prefix and unpacked program; sourced, so that
# `exe`, `linux`, `miss` and `pass` are its own.
steer="$work/steer"
rm -rf "$steer" && mkdir -p "$steer"
exe --window --nosound --record "$steer/game.replay" --trace "$steer/trace.jsonl" >/dev/null 2>&1 &
game=$!
wait_for_window
xdotool windowactivate --sync "$WINDOW" 2>/dev/null || xdotool windowfocus "$WINDOW"
sleep 1
xdotool key --window "$WINDOW" Return
sleep 0.5
xdotool keydown --window "$WINDOW" Right
sleep 0.3
xdotool keyup --window "$WINDOW" Right
xdotool key --window "$WINDOW" space
sleep 0.5
xdotool key --window "$WINDOW" Escape
for _ in $(seq 100); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
wait "$game" || miss "the keyboard-steered game did not end with status 0 on Escape"
grep -Eq '^[0-9]+ [1-9][0-9]* ' "$steer/game.replay" &&
  pass "Right steered through DirectInput's mouse" || miss "Right held moved nothing"
grep -Eq '^[0-9]+ -?[0-9]+ 1 ' "$steer/game.replay" &&
  pass "Space fired as the left button" || miss "Space did not fire"
linux --headless --nosound --replay "$steer/game.replay" --trace "$steer/on_linux.jsonl" &&
  same_trace "$steer/trace.jsonl" "$steer/on_linux.jsonl" &&
  pass "the keyboard-steered game replays on Linux" ||
  miss "the keyboard-steered game replays differently on Linux"
