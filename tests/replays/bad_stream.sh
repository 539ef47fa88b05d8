#!/usr/bin/env bash
# Replays that go wrong part-way: a malformed line met during play from a pipe ends the run with
# status 2 naming the line and leaves no trace behind; an endless file is refused at its first line.
set -uo pipefail
game="$1"; data="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "bad_stream: $*" >&2; exit 1; }

printf 'ZORVEX-REPLAY 1\nstart 5\n16 0 0 0 0\n32 0 0 0 0\n48 x 0 0 0\n' |
  "$game" --headless --data "$data" --replay /dev/stdin --trace "$work/t.jsonl" 2>"$work/err"
[ $? -eq 2 ] || fail "a malformed line in a pipe must exit 2"
grep -q 'line 5:' "$work/err" || fail "the message names line 5: $(cat "$work/err")"
[ ! -e "$work/t.jsonl" ] || fail "a trace of half a replay was left behind"

timeout 20 "$game" --headless --data "$data" --replay /dev/zero 2>"$work/err"
[ $? -eq 2 ] || fail "/dev/zero must be refused with status 2"
grep -q 'line 1: longer than' "$work/err" || fail "/dev/zero: $(cat "$work/err")"
exit 0
