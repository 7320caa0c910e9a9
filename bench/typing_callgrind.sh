#!/usr/bin/env bash
# Instructions per typed character of the real program on an X server, counted by callgrind: unlike
# CPU time, the count is the same from run to run, so a change to what a key costs shows at once.
#
#   bash bench/typing_callgrind.sh [PROGRAM] [LINES] [KEYS]
#
# Starts PROGRAM (default build/bin/pinwright) under valgrind's callgrind on Xvfb with openbox, on a
# generated program of LINES lines (default 0: an empty file; ../shared/bench/peers.py makes it) or on
# an empty file, puts the caret where the side-by-side script types (Ctrl+End, Up), then counts the
# instructions of every thread while KEYS (default 100) "x" are typed 60 ms apart and the program
# settles. The caret keeps blinking while the count runs, so compare runs of the same KEYS. Prints
# the total, the count per key and the 25 costliest functions (inclusive); the profile stays in the
# work folder it names, for callgrind_annotate or KCachegrind.
# Needs: apt-get install valgrind xvfb openbox xdotool
set -euo pipefail
program=$(realpath "${1:-build/bin/pinwright}")
lines=${2:-0}
keys=${3:-100}
for tool in valgrind callgrind_control callgrind_annotate Xvfb openbox xdotool; do
  command -v "$tool" >/dev/null || { echo "needs $tool" >&2; exit 2; }
done
work=$(mktemp -d)
file=$work/p$lines.pbp
peers=$(dirname "$0")/../../shared/bench
if [ "$lines" -gt 0 ]; then
  python3 -c "import sys; sys.path.insert(0, '$peers'); import peers; open('$file', 'wb').write(peers.program($lines))"
else
  : > "$file"
fi
display=:$(for d in $(seq 60 98); do [ -e /tmp/.X$d-lock ] || { echo "$d"; break; }; done)
export DISPLAY=$display
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 0.8
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
trap 'kill $wm $xvfb 2>/dev/null || true' EXIT
sleep 0.6
HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data QT_QPA_PLATFORM=xcb \
  valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$work/callgrind.%p" \
  "$program" "$file" >/dev/null 2>"$work/valgrind.log" &
pid=$!
window=
for _ in $(seq 120); do
  window=$(xdotool search --onlyvisible --name Pinwright 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 1
done
[ -n "$window" ] || { echo "no window" >&2; exit 1; }
sleep 8
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+End
xdotool key Up
sleep 2
xdotool type --delay 15 xxxxx # the first keys load what typing needs
sleep 5
callgrind_control -i on "$pid" >/dev/null
xdotool type --delay 60 "$(head -c "$keys" /dev/zero | tr '\0' x)"
sleep 8
callgrind_control -i off "$pid" >/dev/null
callgrind_control -d "$pid" >/dev/null
sleep 3
callgrind_control -k "$pid" >/dev/null || true
wait "$pid" 2>/dev/null || true
profile=$(ls "$work"/callgrind.$pid.* | head -1)
total=$(callgrind_annotate "$profile" | awk '/PROGRAM TOTALS/ && !n++ {gsub(",", "", $1); print $1}')
echo "instructions: $total in all, $((total / keys)) per key ($keys keys, $lines lines)"
callgrind_annotate --inclusive=yes "$profile" | grep -v '???:0x' | sed -n '25,50p' | cut -c1-160
echo "profile: $profile"
