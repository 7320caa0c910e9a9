#!/usr/bin/env bash
# Builds the benchmarks in Release and prints one table of the figures that matter to a user, for
# generated programs of 1,000, 10,000 and 100,000 lines, each against its limit. Exits with 1 when a
# figure misses its limit. See bench/README.md.
#
#   bash bench/run.sh                           # build-bench/, Release
#   PINWRIGHT_BENCH_BUILD=/path/to/build bash bench/run.sh   # another build folder
#   PINWRIGHT_BENCH_SIZES="1000 20000" bash bench/run.sh     # other sizes
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${PINWRIGHT_BENCH_BUILD:-$root/build-bench}
sizes=(${PINWRIGHT_BENCH_SIZES:-1000 10000 100000})
errors=10000

configure=(-S "$root" -B "$build" -DCMAKE_BUILD_TYPE="${PINWRIGHT_BENCH_TYPE:-Release}")
command -v ninja >/dev/null && [ ! -f "$build/CMakeCache.txt" ] && configure+=(-G Ninja)
command -v ccache >/dev/null && configure+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
echo "Building the benchmarks in $build ..." >&2
cmake "${configure[@]}" >/dev/null
cmake --build "$build" --target pinwright bench_editor bench_compile >/dev/null

export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for n in "${sizes[@]}"; do
  echo "Measuring $n lines ..." >&2
  "$build/bench/bench_editor" "$n" --tsv >"$out/$n.tsv"
  "$build/bench/bench_compile" "$n" "$errors" --tsv >>"$out/$n.tsv"
done

# One row per figure: key, caption, limit (empty: shown without a mark), unit, and optionally the
# smallest file the figure means something for (smaller ones show a dash).
rows='startup_ready_ms|start-up to idle, file open and scanned (wall clock, from main)||ms
ready_after_shown_ms|ready for typing, after the window appears|250|ms
startup_cpu_ms|CPU time (user+sys), start to idle with the file|250|ms
keystroke_ms|a keystroke, with its repaint|16|ms
keystroke_label_ms|a keystroke in a label (its combo entry renamed)|16|ms
typed_key_ms|a character typed through the platform into the frame, repainted and flushed|0.5|ms
typed_painted_px|area painted per typed character (every widget)|40000|px
typed_flushes|window flushes per typed character|1.5|
typed_layouts|layouts per typed character|0.2|
caret_other_line_ms|a caret move to another line, with its repaint|16|ms
caret_onto_label_ms|a caret move onto a label line|16|ms
label_dropdown_ms|label combo drop-down (after a line was added)|16|ms
label_list_ms|Alt+F12 label list|16|ms
explorer_refresh_ms|code explorer refresh (after a line was added)|16|ms
collect_ms|collecting a capture file of 10,000 error lines|100|ms
peak_file_mb|peak memory (VmHWM), the file open|50|MB
peak_empty_mb|peak memory (VmHWM), an empty window|35|MB
heap_per_line_b|heap the program holds per line of the file (idle, against an empty window)|120|B|10000'

awk -F'\t' -v sizes="${sizes[*]}" -v dir="$out" -v rows="$rows" '
BEGIN {
  n = split(sizes, size, " ")
  for (i = 1; i <= n; i++) {
    file = dir "/" size[i] ".tsv"
    while ((getline line < file) > 0) {
      split(line, kv, "\t")
      value[size[i], kv[1]] = kv[2]
    }
    close(file)
  }
  header = "| | limit"
  rule = "|---|---"
  for (i = 1; i <= n; i++) {
    header = header sprintf(" | %\047d lines", size[i])
    rule = rule "|---"
  }
  print header " | |"
  print rule "|---|"
  failed = 0
  m = split(rows, row, "\n")
  for (r = 1; r <= m; r++) {
    split(row[r], f, "|")
    line = "| " f[2] " | " (f[3] == "" ? "—" : "< " f[3] " " f[4])
    mark = f[3] == "" ? "" : "pass"
    for (i = 1; i <= n; i++) {
      if (f[5] != "" && size[i] < f[5] + 0) {
        line = line " | —"
        continue
      }
      v = value[size[i], f[1]]
      if (v == "" || v < 0) {
        line = line " | n/a"
        if (f[3] != "") mark = "FAIL"
        continue
      }
      line = line sprintf(f[4] == "MB" || v >= 10 ? " | %.1f %s" : " | %.2f %s", v, f[4])
      if (f[3] != "" && v + 0 >= f[3] + 0) mark = "FAIL"
    }
    if (mark == "FAIL") failed = 1
    print line " | " mark " |"
  }
  exit failed
}'
