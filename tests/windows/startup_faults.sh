#!/usr/bin/env bash
# The start-up failure table on real DirectX: each row of tests/app/startup_steps.h, a step of
# start-up made to fail through the fault layer over the Windows backend in exclusive full screen
# (startup_check.cpp), one run a row: what it logs, whether start-up stops or goes on, and that
# everything it made is released. Sourced by wine_check.sh with the game's display up, with
# `miss` and `pass` its own.
faults="$work/startup_faults"
rm -rf "$faults" && mkdir -p "$faults"
check_exe="$src/build-windows/cross/zorvex-startup-check.exe"
if ! cmake --build "$src/build-windows/cross" --target zorvex-startup-check >"$faults/build.log" 2>&1; then
  tail -n 30 "$faults/build.log" >&2
  miss "the start-up check did not build"
else
  rows="$(wine "$check_exe" --rows 2>/dev/null)"
  broken=0
  for ((row = 0; row < ${rows:-0}; row++)); do
    timeout 60 wine "$check_exe" "$work/pkg/data" "$faults/log.txt" "$row" >"$faults/row_$row.txt" 2>&1
    status=$?
    if [ "$status" != 0 ] || ! grep -q '^ok: ' "$faults/row_$row.txt"; then
      broken=$((broken + 1))
      echo "row $row (status $status):" >&2
      grep -v '^ok: ' "$faults/row_$row.txt" | head -n 10 >&2
    fi
  done
  [ "${rows:-0}" -gt 0 ] && [ "$broken" = 0 ] &&
    pass "the $rows start-up failures of the table, each made on real DirectX, end as on Linux" ||
    miss "$broken of ${rows:-no} start-up failures on real DirectX end otherwise than on Linux"
fi
