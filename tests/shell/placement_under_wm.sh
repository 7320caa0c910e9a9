#!/usr/bin/env bash
# Starts and closes the real program three times under a window manager on a virtual display, and
# checks that the stored placement comes back unchanged: the frame must not creep by its decoration,
# and one made on a larger screen (fitted onto this one at each start) is kept while the user leaves
# the frame where it opened.
# Usage: placement_under_wm.sh PROGRAM BUILD. Skips (exit 77) when the tools are missing.
set -u
program=$1
file=$2/bin/examples/blink.pbp
. "$(dirname "$0")/../support/under_wm.sh"
conf="$home/config/Pinwright/Pinwright.conf"
mkdir -p "$(dirname "$conf")"

cat >"$home/cycles.sh" <<'INNER'
for i in 1 2 3; do
  "$PROGRAM" "$FILE" >>"$HOME/program.log" 2>&1 &
  pid=$!
  win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Pinwright' | head -1)
  [ -n "$win" ] || { echo "cycle $i: no window"; cat "$HOME/program.log"; xwininfo -root -tree | grep -v "has no name" | head -20; kill "$pid"; exit 1; }
  # Alt+F4 through the window manager, as a user closes it; again if the focus was not there yet.
  for _ in $(seq 1 10); do
    xdotool windowactivate --sync "$win" >/dev/null 2>&1 && xdotool key alt+F4 >/dev/null 2>&1
    for _ in $(seq 1 30); do
      kill -0 "$pid" 2>/dev/null || break 2
      sleep 0.1
    done
  done
  if kill -0 "$pid" 2>/dev/null; then echo "cycle $i: the program did not close"; kill "$pid"; exit 1; fi
  wait "$pid"
done
INNER
for stored in 'Left=1500\nTop=3000\nWidth=9000\nHeight=6000' 'Left=30000\nTop=20000\nWidth=25000\nHeight=18000'; do
  printf "[Startup]\n$stored\n" >"$conf"
  expected=$(grep -E '^(Left|Top|Width|Height)=' "$conf" | sort)
  under_wm 240 "$home/cycles.sh" PROGRAM="$program" FILE="$file" || exit 1
  actual=$(grep -E '^(Left|Top|Width|Height)=' "$conf" | sort)
  if [ "$actual" != "$expected" ]; then
    echo "FAIL: placement changed over three start/exit cycles"
    echo "expected: $(echo $expected)"
    echo "actual:   $(echo $actual)"
    exit 1
  fi
  echo "PASS: placement unchanged over three start/exit cycles ($(echo $actual))"
done
