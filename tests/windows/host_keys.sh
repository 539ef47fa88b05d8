#!/usr/bin/env bash
# The host's keys on the Windows build under Wine, pressed with xdotool on the real DirectX
# backend: F12 writes a PNG to the Pictures folder, P holds the game's frames, - and = step
# DirectSound's attenuation (in the log), Alt+Enter switches the window to full screen and back.
# Run by wine_check.sh, with its display, Wine prefix and unpacked program; sourced, so that
# `exe`, `miss` and `pass` are its own.
keys="$work/keys"
rm -rf "$keys" && mkdir -p "$keys"
find "$WINEPREFIX/drive_c/users" "$HOME" -name 'zorvex-*.png' -delete 2>/dev/null
# The Pictures folder is named in letters the system's ANSI code page lacks: every file name
# goes to the system whole, through its wide calls. Put back after F12 (Wine links the folder it
# makes to $HOME, as it does the Pictures folder).
shell_folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
pictures() {
  wine reg add "$shell_folders" /v 'My Pictures' /t REG_EXPAND_SZ /d "%USERPROFILE%\\$1" /f \
    >/dev/null 2>&1
}
pictures 'Εικόνες'

exe --window --record "$keys/keys.replay" --trace "$keys/trace.jsonl" >/dev/null 2>"$keys/err.txt" &
game=$!
wait_for_window
xdotool windowactivate --sync "$WINDOW" 2>/dev/null || xdotool windowfocus "$WINDOW"
sleep 1
press() { xdotool key --window "$WINDOW" "$@"; sleep 0.5; }

press minus minus minus
press equal
grep -q 'volume 70%: DirectSound attenuation -310 ' "$keys/err.txt" &&
  grep -q 'volume 80%: DirectSound attenuation -194 ' "$keys/err.txt" &&
  pass "- and = step DirectSound's attenuation" || miss "no attenuation logged for - and =: $(cat "$keys/err.txt")"

press F12
sleep 1
shot_file="$(find "$WINEPREFIX/drive_c/users" "$HOME" -name 'zorvex-*.png' 2>/dev/null | head -n 1)"
[ -n "$shot_file" ] && [ "$(identify -format '%w %h' "$shot_file" 2>/dev/null)" = "640 480" ] &&
  grep -q 'Screenshot saved to .*Εικόνες.zorvex-[0-9-]*\.png' "$keys/err.txt" &&
  pass "F12 saved $(basename "$shot_file") in the Pictures folder (Εικόνες)" ||
  miss "F12 saved no 640 x 480 PNG in the Pictures folder (Εικόνες): $(cat "$keys/err.txt")"
pictures Pictures
find "$WINEPREFIX/drive_c/users" -maxdepth 2 -name 'Εικόνες' -exec rm -rf {} + 2>/dev/null

# Paused, the game runs no frame: its trace stops growing, and grows again after P. The mouse
# moved meanwhile is not a move in the game.
press p
sleep 1
before=$(stat -c %s "$keys/trace.jsonl")
xdotool mousemove_relative -- 200 0
sleep 2
held=$(stat -c %s "$keys/trace.jsonl")
press p
sleep 2
after=$(stat -c %s "$keys/trace.jsonl")
[ "$before" = "$held" ] && [ "$after" -gt "$held" ] &&
  pass "P holds the game's frames and lets them go on" ||
  miss "the trace went from $before to $held bytes while paused, then to $after"

# Alt+Enter: full screen (the window covers the display at its corner), then a window again.
press alt+Return
sleep 2
full="$(xdotool getwindowgeometry "$WINDOW" 2>/dev/null | tr -s ' \n' ' ')"
press alt+Return
sleep 2
framed="$(xdotool getwindowgeometry "$WINDOW" 2>/dev/null | tr -s ' \n' ' ')"
grep -q 'zorvex: Full screen - Alt+Enter for a window' "$keys/err.txt" &&
  grep -q 'zorvex: In a window - Alt+Enter for full screen' "$keys/err.txt" &&
  pass "Alt+Enter switched to full screen ($full) and back ($framed)" ||
  miss "Alt+Enter did not switch: $(cat "$keys/err.txt")"

size=$(stat -c %s "$keys/trace.jsonl")
sleep 1.5
xdotool key --window "$WINDOW" Escape
for _ in $(seq 100); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
wait "$game" && [ "$(stat -c %s "$keys/trace.jsonl")" -gt "$size" ] &&
  pass "the game played on after the switches and quit on Escape" ||
  miss "the game did not play on after the switches, or did not quit with status 0"
! grep -Eq '^[0-9]+ -?(1[5-9][0-9]|2[0-4][0-9]) ' "$keys/keys.replay" &&
  pass "the mouse moved while paused did not reach the game" ||
  miss "the game saw the 200 pixels the mouse moved while paused"
