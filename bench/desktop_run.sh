#!/usr/bin/env bash
# A report over a 1,000,000-line combined log run by the desktop program with
# its progress window (Qt's offscreen platform, started with the report's
# name and "close") against the batch run of the same report: best wall time
# of each and their ratio. The same pair on a one-line log gives the fixed
# cost of starting and ending the windowed program (Qt, its fonts, the
# windows), which the ratio includes; the run itself is the rest.
# Usage: bench/desktop_run.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=bench/bench_common.sh
source "$here/bench_common.sh"

find_statvane "${1:-$here/../build}"
"$here/../scripts/install-deps.sh" time

million_line_log

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

home=$work/statvane
tables_report_home "$home" "$log" "$work/report.txt"
mkdir -m 700 "$work/runtime"
head -n 1 "$log" >"$work/one-line.log"
printf '%s\r\n' "[Bench]" "File 0=$work/one-line.log" >"$home/files-one-line.dat"
export STATVANE_HOME=$home STATVANE_SETTINGS=$home/registry.reg XDG_RUNTIME_DIR=$work/runtime

best() { python3 "$here/measure.py" --runs 5 -- "$@" | cut -d' ' -f1; }

# Prints the best times of the batch run and of the desktop program.
measure_both() {
    echo "$(best "$statvane" --batch Bench) $(QT_QPA_PLATFORM=offscreen best "$statvane" Bench close)"
}

cat "$log" >/dev/null
read -r batch desktop <<<"$(measure_both)"
[ -s "$work/report.txt" ] || {
    echo "Statvane wrote no report." >&2
    exit 1
}
mv "$home/files.dat" "$home/files-1m.dat"
mv "$home/files-one-line.dat" "$home/files.dat"
read -r batch_start desktop_start <<<"$(measure_both)"

printf 'batch run:       best %.3f s\ndesktop program: best %.3f s\n' "$batch" "$desktop"
printf 'desktop / batch: %.3f (goal: at most 1.05)\n' "$(echo "$desktop / $batch" | bc -l)"
printf 'of which starting and ending the windowed program: %.0f ms (one-line log: %.3f s against %.3f s)\n' \
    "$(echo "($desktop_start - $batch_start) * 1000" | bc -l)" "$desktop_start" "$batch_start"
