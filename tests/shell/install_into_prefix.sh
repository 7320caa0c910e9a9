#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs from it: the program and
# its data, the menu entry, the file types and the icons; then starts the installed program offscreen
# on an installed example and checks that it keeps running. Arguments: PROGRAM BUILD CMAKE
set -u
build=$2
cmake=$3
prefix=$(mktemp -d)
home=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; rm -rf "$prefix" "$home"' EXIT
pid=
fail() { echo "FAIL: $*"; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
for f in bin/pinwright share/pinwright/{devicedata.ide,help/contents.html,examples/blink.pbp} \
  share/applications/pinwright.desktop share/mime/packages/pinwright.xml \
  share/icons/hicolor/scalable/apps/pinwright.svg \
  share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/pinwright.png; do
  [ -s "$prefix/$f" ] || fail "$f is not installed"
done
[ -e "$prefix/share/pinwright/desktop" ] && fail "the desktop files also landed among the data"
command -v desktop-file-validate >/dev/null 2>&1 &&
  ! desktop-file-validate "$prefix/share/applications/pinwright.desktop" && fail "invalid desktop entry"
grep -q 'glob pattern="\*.pbp"' "$prefix/share/mime/packages/pinwright.xml" || fail "no .pbp file type"

# The installed program, moved away from the build, runs on an installed example.
HOME=$home XDG_CONFIG_HOME=$home/config QT_QPA_PLATFORM=offscreen \
  "$prefix/bin/pinwright" "$prefix/share/pinwright/examples/blink.pbp" >"$home/log" 2>&1 &
pid=$!
sleep 3
kill -0 "$pid" 2>/dev/null || { cat "$home/log"; fail "the installed program did not keep running"; }
echo "PASS: installed into a prefix with its data, desktop entry, file types and icons, and it runs"
