#!/usr/bin/env bash
# Runs the Windows build's test programs under Wine (each on the offscreen platform, in the Wine prefix
# build-win/build/wineprefix; tests/CMakeLists.txt lists the ones that stay in the Linux build, with
# the reason) and checks the portable zip. Needs scripts/build-windows.sh to have run.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-win/build
echo "== Tests under Wine in $build"
(cd "$build" && ctest --output-on-failure --parallel "$(nproc)")
zip=$(ls "$PWD"/build-win/pinwright-*-win64.zip | head -1)
bash tests/windows/portable_zip.sh "$zip" "$PWD/$build/wineprefix"
