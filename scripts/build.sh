#!/usr/bin/env bash
# Configures and builds Pinwright into ./build (Release with debug info).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
[ -f build/CMakeCache.txt ] || cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --parallel "$(nproc)"
