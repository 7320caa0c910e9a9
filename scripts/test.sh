#!/usr/bin/env bash
# Builds Pinwright and runs the whole test suite headless, twice: in the README's build and in a
# Debug build, where the asserts in Qt's headers check how our code uses Qt.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
[ -f build-debug/CMakeCache.txt ] || cmake -S . -B build-debug "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug -DPINWRIGHT_BENCH=OFF
cmake --build build-debug --parallel "$(nproc)"
for dir in build build-debug; do
  echo "== Tests in $dir"
  (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)")
done
