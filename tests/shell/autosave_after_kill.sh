#!/usr/bin/env bash
# Types into the real program on a virtual display, kills it with SIGKILL once the typing has been
# copied aside, starts it again and answers Yes to the offer: the typed text must come back as unsaved
# changes (copied again by the new program) while the file on disk stays as it was.
# Usage: autosave_after_kill.sh PROGRAM. Skips (exit 77) when the tools are missing.
set -u
program=$1
. "$(dirname "$0")/../support/under_wm.sh"
mkdir -p "$home/config/Pinwright"
# A copy every second rather than every minute.
printf '[Autosave]\nInterval=1\n' >"$home/config/Pinwright/Pinwright.conf"
printf 'HIGH 1\r\n' >"$home/doc.pbp"

cat >"$home/run.sh" <<'INNER'
copies="$HOME/data/Pinwright/Pinwright/autosave"
start() {
  "$PROGRAM" "$HOME/doc.pbp" >>"$HOME/program.log" 2>&1 &
  pid=$!
  win=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -1)
  [ -n "$win" ] || { echo "no window named $1"; cat "$HOME/program.log"; kill -9 "$pid"; exit 1; }
}
# Waits until a copy holding the typed words exists in a session other than $1; prints its session.
wait_for_copy() {
  for _ in $(seq 1 100); do
    found=$(grep -l 'REMEMBER ME' "$copies"/*/*.autosave 2>/dev/null | grep -v "/$1/" | head -1)
    [ -n "$found" ] && { basename "$(dirname "$found")"; return 0; }
    sleep 0.1
  done
  return 1
}

start '^Pinwright'
xdotool windowactivate --sync "$win" >/dev/null 2>&1
sleep 0.5
xdotool type --delay 20 'REMEMBER ME '
first=$(wait_for_copy none) || { echo "no copy was written while the document was modified"; kill -9 "$pid"; exit 1; }
kill -9 "$pid"
wait "$pid" 2>/dev/null

start '^Pinwright$'   # the offer is a message box titled Pinwright
xdotool windowactivate --sync "$win" >/dev/null 2>&1
xdotool key --window "$win" alt+y
second=$(wait_for_copy "$first") || { echo "the text was not restored"; kill -9 "$pid"; exit 1; }
[ ! -e "$copies/$first" ] || { echo "the old copy is still there after the restore"; kill -9 "$pid"; exit 1; }
kill -9 "$pid"
echo "restored from session $first into $second"
INNER
under_wm 200 "$home/run.sh" PROGRAM="$program" || exit 1
if [ "$(cat "$home/doc.pbp")" != "$(printf 'HIGH 1\r\n')" ]; then
  echo "FAIL: the file on disk was written"
  exit 1
fi
echo "PASS: the text typed before the kill came back, the file untouched"
