#!/usr/bin/env bash
# Writes disk_audio.replay: 40 s on the title (music00 loops once, 38.4 s), Enter, a wall
# bounce 45 frames later, a shot, and the end. Ticks advance 1000/60 ms a frame, as a 60 Hz run.
# Run once; the frames the check expects come from the trace of this exact file.
set -euo pipefail
start=1000
title=2400 # Enter is held on this frame
fire_from=2455 fire_to=2459
last=2480
{
  echo "ZORVEX-REPLAY 1"
  echo "# Title for $title frames, Enter, play until frame $last; the button is down on frames"
  echo "# $fire_from to $fire_to. Made by disk_audio_make_replay.sh."
  echo "start $start"
  for k in $(seq 1 "$last"); do
    enter=0 lmb=0
    [ "$k" -eq "$title" ] && enter=1
    [ "$k" -ge "$fire_from" ] && [ "$k" -le "$fire_to" ] && lmb=1
    echo "$((start + k * 1000 / 60)) 0 $lmb $enter 0"
  done
} >"$(dirname "$0")/disk_audio.replay"
