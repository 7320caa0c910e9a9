#!/usr/bin/env bash
# The portable Windows zip, unpacked into a folder it was not built for (blanks and a letter outside
# ASCII in its name), holds the program and all it loads; the program, started on its own example under
# Wine with the windows platform on a virtual display with a window manager, is judged as a user sees
# it: no message box, the device combo filled with the default device chosen, the device list found
# beside the program, and F1 opening the help contents. Arguments: ZIP WINEPREFIX
set -u
zip=$1
export WINEPREFIX=$2 WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
wine=/usr/lib/wine/wine64 wineserver=/usr/lib/wine/wineserver
. "$(dirname "$0")/../support/under_wm.sh"
fail() { echo "FAIL: $*"; exit 1; }
[ -x "$wine" ] || { echo "SKIP: wine64 is not installed"; exit 77; }

dir="$home/Somewhere else $(printf '\303\234')"
mkdir -p "$dir"
(cd "$dir" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
top=$(ls -d "$dir"/pinwright-*-win64 2>/dev/null | head -1)
[ -n "$top" ] || fail "the zip has no pinwright-<version>-win64 folder"
for f in pinwright.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6PrintSupport.dll Qt6SerialPort.dll \
  platforms/qwindows.dll styles/qwindowsvistastyle.dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll \
  devicedata.ide help/contents.html examples/blink.pbp; do
  [ -s "$top/$f" ] || fail "$f is not in the zip"
done
[ -e "$top/desktop" ] && fail "the Linux desktop files are in the zip"
[ -e "$top/Qt6Test.dll" ] && fail "the test library is in the zip"

# Windows paths of the unpacked folder: Wine shows the Linux root as drive Z:.
windows() { printf 'Z:%s' "${1//\//\\}"; }
"$wine" wineboot --init >/dev/null 2>&1
# One display per Wine server: wait for the tests' server to end before starting on the virtual one.
"$wineserver" -w
cat >"$home/judge.sh" <<'INNER'
log="$HOME/view.log"
: >"$log"
PINWRIGHT_STARTUP_PROBE=view "$WINE" "$TOP/pinwright.exe" "$EXAMPLE" >"$log" 2>&1 &
pid=$!
for _ in $(seq 1 600); do
  grep -q '^pinwright-view data' "$log" && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
say() { echo "FAIL: $*"; cat "$log"; "$WINESERVER" -k; exit 1; }
# A Windows program's standard error is a text stream: its lines end in CR LF.
sed -i 's/\r$//' "$log"
grep -q '^pinwright-view data' "$log" || say "the program never became idle"
grep '^pinwright-view box' "$log" && say "a message box is shown at start"
grep -qxF "pinwright-view data \"$DATA\"" "$log" || say "the device list is not the one beside the program"
# The default device is the 72nd of the list.
grep -qE '^pinwright-view combo ID_Device 71 [1-9][0-9]+ "PIC[0-9A-Z]+"$' "$log" ||
  say "the device combo is not filled with the default device chosen"
frame=$(xdotool search --all --onlyvisible --name '^Pinwright' | head -1)
[ -n "$frame" ] || say "no frame window on the display"
help=
for _ in $(seq 1 10); do
  xdotool windowactivate --sync "$frame" >/dev/null 2>&1 && xdotool key F1 >/dev/null 2>&1
  help=$(timeout 3 xdotool search --all --sync --onlyvisible --name '^Pinwright Help$' 2>/dev/null | head -1)
  [ -n "$help" ] && break
done
[ -n "$help" ] || say "F1 did not open the help contents"
"$WINESERVER" -k
wait "$pid" 2>/dev/null
echo "no message box, $(grep -o 'ID_Device.*' "$log"), help shown"
INNER
data=$(windows "$top/devicedata.ide")
under_wm 300 "$home/judge.sh" WINE="$wine" WINESERVER="$wineserver" TOP="$top" EXAMPLE="$(windows "$top/examples/blink.pbp")" \
  DATA="${data//\\/\\\\}" || exit 1
echo "PASS: the portable zip, unpacked into '$dir', starts clean with its data beside it and shows its help"
