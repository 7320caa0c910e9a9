#!/usr/bin/env bash
# Builds Pinwright and runs the whole test suite headless, three times: in the README's build, in a
# Debug build, where the asserts in Qt's headers check how our code uses Qt, and in a build with
# AddressSanitizer and UndefinedBehaviorSanitizer, where any finding fails the test that met it. The
# README's build is also installed into a prefix and packaged, and each install is started and judged.
# Then builds the fuzz targets with clang and runs each for 30 seconds, and last cross-builds the Windows
# program and runs its tests under Wine. Each phase reports its duration.
set -euo pipefail
cd "$(dirname "$0")/.."
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
phase() { printf '== %s: %dm%02ds\n' "$1" $((SECONDS / 60)) $((SECONDS % 60)); SECONDS=0; }
SECONDS=0

# The includes keep to the layers before anything is built.
bash scripts/check-layers.sh
bash scripts/build.sh
[ -f build-debug/CMakeCache.txt ] || cmake -S . -B build-debug "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug -DPINWRIGHT_BENCH=OFF
cmake --build build-debug --parallel "$(nproc)"
phase "Release and Debug builds"
for dir in build build-debug; do
  echo "== Tests in $dir"
  (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" -LE install)
done
phase "Release and Debug tests"
# The README's install routes, from the release build: cmake --install and the Debian package.
(cd build && ctest --output-on-failure -L install)
phase "Install and package checks"

[ -f build-asan/CMakeCache.txt ] ||
  cmake -S . -B build-asan "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug -DPINWRIGHT_SANITIZE=ON -DPINWRIGHT_BENCH=OFF
# The build runs the icon generator, which is sanitized too.
LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp" cmake --build build-asan --parallel "$(nproc)"
phase "Sanitizer build"
echo "== Tests in build-asan"
(cd build-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" -LE install)
phase "Sanitizer tests"

bash scripts/fuzz.sh 30
phase "Fuzz targets"

# The Windows program cross-built with MinGW, its tests run under Wine and its portable zip started.
if [ -f ../shared/qt-win/qt6.4.2-mingw64.tar.xz ]; then
  bash scripts/build-windows.sh
  phase "Windows cross build"
  bash scripts/test-windows.sh
  phase "Windows tests under Wine"
else
  echo "== No Windows Qt in ../shared/qt-win: the Windows build and its tests are skipped"
fi
