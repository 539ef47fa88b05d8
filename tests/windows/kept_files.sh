#!/usr/bin/env bash
# What the Windows build keeps between launches, under Wine: the best games from
# %LOCALAPPDATA%\Zorvex (--scores lists a table, --watch 1 replays its recording to the kept
# trace, --watch 2 of one game is refused) and the settings in %APPDATA%\Zorvex (restored at
# start; - and Alt+Enter written back, the file's other lines kept). Run by wine_check.sh with
# its display, Wine prefix and unpacked program; sourced, so that `exe`, `miss`, `pass` and
# `same_trace` are its own. The prefix is left with no Zorvex folders, as it was.
kept="$work/kept"
rm -rf "$kept" && mkdir -p "$kept"
roaming="$(winepath -u "$(wine cmd /c echo %APPDATA% | tr -d '\r')")/Zorvex"
local_data="$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% | tr -d '\r')")/Zorvex"
rm -rf "$roaming" "$local_data" && mkdir -p "$roaming" "$local_data"

cp "$src/tests/replays/autopilot_short_frames.replay" "$local_data/game-1-1.replay"
echo '1234 2 2026-12-07T10:00:00Z game-1-1.replay' >"$local_data/best-games.txt"
[ "$(exe --scores)" = "1 1234 2 2026-12-07T10:00:00Z" ] && pass "--scores reads %LOCALAPPDATA%" ||
  miss "--scores: $(exe --scores 2>&1)"
gzip -dc "$src/tests/replays/autopilot_short_frames.trace.gz" >"$kept/expected.jsonl"
exe --watch 1 --headless --trace "$kept/watch.jsonl" &&
  same_trace "$kept/expected.jsonl" "$kept/watch.jsonl" && pass "--watch 1 replays the kept game" ||
  miss "--watch 1 did not replay the kept game"
status=0
exe --watch 2 >/dev/null 2>&1 || status=$?
[ "$status" = 2 ] && pass "--watch of a game not kept is refused" || miss "--watch 2 gave $status"

printf '# mine\r\nvolume = 40\r\nwindow = 1\r\nsteering = keys\r\n' >"$roaming/settings.ini"
exe --nosound --log "$kept/log.txt" >/dev/null 2>&1 &
game=$!
wait_for_window
xdotool windowactivate --sync "$WINDOW" 2>/dev/null || xdotool windowfocus "$WINDOW"
sleep 1
xdotool key --window "$WINDOW" minus
sleep 0.5
xdotool key --window "$WINDOW" alt+Return
sleep 2
xdotool key Escape
for _ in $(seq 100); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
kill "$game" 2>/dev/null && miss "Escape did not end the game"
wait "$game" 2>/dev/null
grep -q 'Settings restored from .*settings.ini: volume 40, window' "$kept/log.txt" &&
  pass "the settings are restored from %APPDATA%" || miss "not restored: $(cat "$kept/log.txt")"
tr -d '\r' <"$roaming/settings.ini" | tr '\n' ' ' | grep -q '^# mine volume = 30 window = 0 steering = keys $' &&
  pass "- and Alt+Enter are kept in settings.ini" || miss "settings.ini: $(cat "$roaming/settings.ini")"
rm -rf "$roaming" "$local_data"
