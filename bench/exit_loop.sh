#!/usr/bin/env bash
# Ends Tavola many times on a headless KWin, natively on Wayland, after a few
# steps each (bench/exit_steps: an answer, minimise, restore, the end-time box,
# the exit button), and counts the clean exits and the crashes.
#   bench/exit_loop.sh [RUNS] [PROGRAM]
# PROGRAM defaults to build/bench/bench/exit_steps (configure with
# -DTAVOLA_BUILD_BENCH=ON). Needs kwin_wayland (Debian: kwin-wayland).
set -euo pipefail
runs=${1:-200}
program=$(realpath "${2:-build/bench/bench/exit_steps}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 700 "$work"
# KWin refuses to start where its file capability is not honoured (a
# container); a plain copy of it, under its own name, starts.
mkdir "$work/bin"
cp "$(command -v kwin_wayland)" "$work/bin/kwin_wayland"

clean=0 crashed=0 failed=0
for ((run = 1; run <= runs; run++)); do
  log=$work/run.log
  : >"$log"
  XDG_RUNTIME_DIR=$work HOME=$work KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 \
    timeout 60 dbus-run-session -- "$work/bin/kwin_wayland" --virtual --width 1280 --height 1024 \
    --socket "tavola-exit-$$" --no-lockscreen --exit-with-session \
    "sh -c 'QT_QPA_PLATFORM=wayland $program 2>>$log; echo \$? >$work/status'" >>"$log" 2>&1 || true
  status=$(cat "$work/status" 2>/dev/null || true)
  rm -f "$work/status"
  if [ "$status" = 0 ] && grep -q 'the end-time box was open' "$log" && grep -q 'pressing the exit button' "$log" &&
     ! grep -q 'destroying locked mutex' "$log"; then
    clean=$((clean + 1))
  elif [ -n "$status" ] && { [ "$status" -ge 128 ] || grep -q 'destroying locked mutex' "$log"; }; then
    crashed=$((crashed + 1))
    cp "$log" "exit-loop-crash-$run.log"
  else
    failed=$((failed + 1))
    cp "$log" "exit-loop-failed-$run.log"
  fi
done
echo "$runs exits: $clean clean, $crashed crashed, $failed did not run through (logs: exit-loop-*.log)"
