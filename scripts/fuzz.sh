#!/usr/bin/env bash
# Builds the fuzz targets with clang into ./build-fuzz and runs each one for a bounded time on a copy of
# its seed corpus (the tree is never written). A crash, a hang or a sanitizer report fails the run; its
# input is kept in build-fuzz/findings/<target>/.
#   scripts/fuzz.sh [seconds per target, default 30] [target ...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
shift || true
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
[ -f build-fuzz/CMakeCache.txt ] ||
  cmake -S fuzz -B build-fuzz "${generator[@]}" "${launcher[@]}" -DCMAKE_CXX_COMPILER=clang++
cmake --build build-fuzz --parallel "$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
failed=()
for t in "${targets[@]}"; do
  work="build-fuzz/run/$t"
  rm -rf "$work" && mkdir -p "$work/corpus" "build-fuzz/findings/$t"
  cp fuzz/corpus/"$t"/* "$work/corpus/"
  dict=()
  [ -f "fuzz/$t.dict" ] && dict=(-dict="fuzz/$t.dict")
  echo "== fuzz_$t for ${seconds}s"
  if build-fuzz/fuzz_"$t" "${dict[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
       -artifact_prefix="build-fuzz/findings/$t/" -print_final_stats=1 "$work/corpus" >"$work/log" 2>&1; then
    grep -E '^stat::number_of_executed_units' "$work/log" || true
  else
    tail -n 60 "$work/log"
    failed+=("$t")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing found faults in: ${failed[*]} (inputs in build-fuzz/findings/)"
  exit 1
fi
