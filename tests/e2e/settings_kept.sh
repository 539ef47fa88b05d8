#!/usr/bin/env bash
# Settings survive a restart: the volume keys and Alt+Enter in one run, the next run's log shows
# both restored. Then the files that must not stop the game: a binary settings.ini goes aside,
# and on a full or read-only disk (a small tmpfs; root only) the old file stays whole and the
# player is told once.
set -euo pipefail
game="$1"
data="$2"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"
work="$(mktemp -d /tmp/zorvex-settings-e2e.XXXXXX)"
game_pid=
mounted=
cleanup() {
  if [ -n "$game_pid" ]; then kill "$game_pid" 2>/dev/null || true; fi
  [ -n "$mounted" ] && umount "$mounted" 2>/dev/null || true
  stop_display
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
settings="$XDG_CONFIG_HOME/zorvex/settings.ini"

launch() {  # launch LOG: the game in the background, its window up
  "$game" --data "$data" --nosound --log "$1" >"$work/out.txt" 2>&1 &
  game_pid=$!
  wait_for_window
  sleep 1
}
quit() {
  xdotool key Escape
  for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
  wait "$game_pid" || fail "the game exited with status $? ($(cat "$work/out.txt"))"
  game_pid=
}

start_display
launch "$work/first.log"
xdotool key minus minus minus
xdotool key alt+Return
sleep 0.5
quit
grep -qx 'window = 1' "$settings" || fail "the window was not kept: $(cat "$settings")"
volume=$(sed -n 's/^volume = //p' "$settings")
[ -n "$volume" ] && [ "$volume" -lt 100 ] || fail "the volume was not kept: $(cat "$settings")"
echo 'steering = keys  # a later version' >>"$settings"

launch "$work/second.log"
quit
grep -q "Settings restored from $settings: volume $volume, window" "$work/second.log" ||
  fail "the second run did not restore both: $(cat "$work/second.log")"
grep -q '^steering = keys' "$settings" || fail "an unknown key was lost"

# A command-line option applies to its run only.
"$game" --data "$data" --nosound --volume 90 --log "$work/third.log" >"$work/out.txt" 2>&1 &
game_pid=$!
wait_for_window
xdotool key minus
sleep 0.3
quit
grep -q 'volume 90' "$work/third.log" && fail "the settings overrode --volume"
grep -q "^volume = 8" "$settings" || fail "the volume key in play was not kept: $(cat "$settings")"

# Binary junk where the settings were: one warning, moved aside, the game plays on defaults.
printf '\x7fELF\x02\x01\x01\x00\x00\x00' >"$settings"
launch "$work/junk.log"
quit
[ "$(grep -c 'moved aside' "$work/junk.log")" = 1 ] || fail "no single warning: $(cat "$work/junk.log")"
cmp -s "$settings.bad" <(printf '\x7fELF\x02\x01\x01\x00\x00\x00') || fail "the bad file was not kept aside"

# A full disk, then a read-only one: the old file stays, the player is told once, the game goes on.
[ "$(id -u)" = 0 ] || { echo "not root: no tmpfs for the full-disk check"; exit 0; }
small="$work/small"
mkdir -p "$small"
mount -t tmpfs -o size=64k tmpfs "$small" || { echo "tmpfs refused: full-disk check skipped"; exit 0; }
mounted="$small"
export XDG_CONFIG_HOME="$small"
mkdir -p "$small/zorvex"
printf 'volume = 50\nwindow = 1\n' >"$small/zorvex/settings.ini"
dd if=/dev/zero of="$small/filler" bs=4k 2>/dev/null || true
for state in full readonly; do
  [ "$state" = readonly ] && { rm -f "$small/filler"; mount -o remount,ro "$small"; }
  launch "$work/$state.log"
  xdotool key minus
  sleep 0.3
  xdotool key minus
  sleep 0.3
  kill -0 "$game_pid" 2>/dev/null || fail "the $state disk stopped the game"
  quit
  [ "$(grep -c 'Settings not saved' "$work/$state.log")" = 1 ] ||
    fail "the $state disk was not told once: $(cat "$work/$state.log")"
  [ "$(cat "$small/zorvex/settings.ini")" = $'volume = 50\nwindow = 1' ] || fail "the $state disk lost the old settings"
  ls "$small/zorvex" | grep -v '^settings.ini$' && fail "the $state disk was left a temporary file"
done
echo "settings kept: volume $volume and the window restored; junk, full and read-only disks survived"
