#!/usr/bin/env bash
# The program installed the two ways a user installs it, each away from the build and from the prefix
# it was built for: `cmake --install` into a temporary prefix, and the Debian package CPack makes,
# unpacked into a temporary root. Checks what a desktop needs from each install (the menu entry, the
# file types, the icons, the manual page), checks the package with lintian, then starts each installed
# program on an installed example under a window manager and judges it as a user sees it: no message
# box, the device combo filled with the default device chosen, the device list found in the install
# itself, and F1 opening the help contents. Arguments: PROGRAM BUILD CMAKE
set -u
build=$2
cmake=$3
cpack=$(dirname "$cmake")/cpack
. "$(dirname "$0")/../support/under_wm.sh"
for tool in dpkg-deb lintian; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done
fail() { echo "FAIL: $*"; exit 1; }

# What every install holds, relative to its prefix.
check_files() {
  local prefix=$1 f
  for f in bin/pinwright share/pinwright/{devicedata.ide,help/contents.html,examples/blink.pbp} \
    share/applications/pinwright.desktop share/mime/packages/pinwright.xml share/man/man1/pinwright.1.gz \
    share/icons/hicolor/scalable/apps/pinwright.svg \
    share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/pinwright.png; do
    [ -s "$prefix/$f" ] || fail "$f is not installed in $prefix"
  done
  [ -e "$prefix/share/pinwright/desktop" ] && fail "the desktop files also landed among the data"
  desktop-file-validate "$prefix/share/applications/pinwright.desktop" || fail "invalid desktop entry"
  grep -q 'glob pattern="\*.pbp"' "$prefix/share/mime/packages/pinwright.xml" || fail "no .pbp file type"
}

# 1. cmake --install into a prefix the build was not configured for.
"$cmake" --install "$build" --prefix "$home/prefix" >/dev/null || fail "cmake --install failed"
check_files "$home/prefix"

# 2. The Debian package, made outside the build folder so that nothing can run CPack's staged copy.
"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$home/package" >"$home/cpack.log" 2>&1 ||
  { cat "$home/cpack.log"; fail "cpack failed"; }
deb=$(ls "$home"/package/pinwright_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || fail "cpack made no .deb"
dpkg-deb -x "$deb" "$home/root" || fail "dpkg-deb -x failed"
check_files "$home/root/usr"
[ -s "$home/root/usr/share/doc/pinwright/copyright" ] || fail "no copyright file"
[ -s "$home/root/usr/share/doc/pinwright/changelog.gz" ] || fail "no changelog"
fields=$(dpkg-deb -f "$deb" Depends Recommends)
for dep in qt6-qpa-plugins libqt6widgets6 libqt6serialport6; do
  grep -q "$dep" <<<"$fields" || fail "the package does not depend on $dep: $fields"
done
grep -q '^Recommends' <<<"$fields" && fail "the package recommends what a user does not need: $fields"
# Errors and warnings fail; informational tags do not.
lintian --fail-on error,warning --tag-display-limit 0 "$deb" || fail "lintian finds fault with the package"

# 3. Each installed program, started as a user starts it, shows what a user expects.
cat >"$home/judge.sh" <<'INNER'
for prefix in "$HOME/prefix" "$HOME/root/usr"; do
  log="$HOME/view.log"
  : >"$log"
  PINWRIGHT_STARTUP_PROBE=view "$prefix/bin/pinwright" "$prefix/share/pinwright/examples/blink.pbp" >"$log" 2>&1 &
  pid=$!
  for _ in $(seq 1 300); do
    grep -q '^pinwright-view data' "$log" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  say() { echo "$prefix: $*"; cat "$log"; kill "$pid" 2>/dev/null; exit 1; }
  grep -q '^pinwright-view data' "$log" || say "the program never became idle"
  grep '^pinwright-view box' "$log" && say "a message box is shown at start"
  grep -qxF "pinwright-view data \"$prefix/share/pinwright/devicedata.ide\"" "$log" ||
    say "the device list is not the installed one"
  # The default device is the 72nd of the list.
  grep -qE '^pinwright-view combo ID_Device 71 [1-9][0-9]+ "PIC[0-9A-Z]+"$' "$log" ||
    say "the device combo is not filled with the default device chosen"
  frame=$(xdotool search --all --onlyvisible --pid "$pid" --name '^Pinwright' | head -1)
  [ -n "$frame" ] || say "no frame window"
  help=
  for _ in $(seq 1 10); do
    xdotool windowactivate --sync "$frame" >/dev/null 2>&1 && xdotool key F1 >/dev/null 2>&1
    help=$(timeout 3 xdotool search --all --sync --onlyvisible --pid "$pid" --name '^Pinwright Help$' 2>/dev/null | head -1)
    [ -n "$help" ] && break
  done
  [ -n "$help" ] || say "F1 did not open the help contents ($(xdotool search --all --onlyvisible --pid "$pid" --name . getwindowname %@ 2>/dev/null | tr '\n' '|'))"
  kill "$pid"
  wait "$pid" 2>/dev/null
  echo "$prefix: no message box, $(grep -o 'ID_Device.*' "$log"), help shown"
done
INNER
under_wm 240 "$home/judge.sh" || exit 1
echo "PASS: installed into a prefix and from the package, each with its data, desktop files and manual, and each starts clean"
