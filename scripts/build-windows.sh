#!/usr/bin/env bash
# Cross-builds Pinwright for Windows x86_64 with MinGW-w64 against the Windows Qt in ../shared/qt-win,
# all inside build-win/: the Qt unpacked once (build-win/qt6.4.2-mingw64), the build (build-win/build),
# the portable folder (build-win/Pinwright) and its zip (build-win/pinwright-<version>-win64.zip).
# Further arguments go to the build command, e.g. `--target tst_Windows`. Exits with 77 when the
# Windows Qt is not there.
set -euo pipefail
cd "$(dirname "$0")/.."
archive=../shared/qt-win/qt6.4.2-mingw64.tar.xz
if [ ! -f "$archive" ]; then
  echo "No Windows Qt at $archive: the Windows build is skipped."
  exit 77
fi
bash scripts/deps.sh
root=$PWD/build-win
qt=$root/qt6.4.2-mingw64
if [ ! -x "$qt/bin/qt-cmake" ]; then
  rm -rf "$qt"
  mkdir -p "$root"
  tar -xJf "$archive" -C "$root"
fi
if [ ! -f "$root/build/CMakeCache.txt" ]; then
  launcher=()
  command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # The tests run under Wine (ctest prefixes each with the emulator). The benchmarks stay in the Linux
  # build.
  "$qt/bin/qt-cmake" -G Ninja -S . -B "$root/build" -DCMAKE_BUILD_TYPE=Release -DPINWRIGHT_BENCH=OFF \
    -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/lib/wine/wine64 "${launcher[@]}"
fi
if [ $# -gt 0 ]; then
  cmake --build "$root/build" --parallel "$(nproc)" "$@"
  exit 0
fi
cmake --build "$root/build" --parallel "$(nproc)"
# The portable folder, stripped, and the zip of it.
rm -rf "$root/Pinwright"
cmake --install "$root/build" --prefix "$root/Pinwright" --strip >/dev/null
(cd "$root/build" && cpack -G ZIP -B "$root/package" >/dev/null)
mv -f "$root"/package/pinwright-*-win64.zip "$root/"
echo "Windows build: $root/Pinwright/pinwright.exe, $(ls "$root"/pinwright-*-win64.zip)"
