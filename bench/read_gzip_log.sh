#!/usr/bin/env bash
# A 1,000,000-line combined log compressed with gzip, all with a warm cache:
# the batch report of compare_peers.sh (visitors, referrers, pages and
# browsers) over the .gz file against `zcat FILE > /dev/null` (medians), and
# log pass on the .gz file against zcat plus log pass on the plain file.
# Usage: bench/read_gzip_log.sh [BUILD_DIR]
set -euo pipefail
# shellcheck source=bench/bench_common.sh
source "$(dirname "$0")/bench_common.sh"
build=${1:-$bench_dir/../build}
find_statvane "$build"
million_line_log
[ -s "$log.gz" ] && [ "$log.gz" -nt "$log" ] || gzip -c "$log" >"$log.gz"
cat "$log" "$log.gz" >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tables_report_home "$work/statvane" "$log.gz" "$work/report.txt"

median() { python3 "$bench_dir/measure.py" --median --runs 5 -- "$@" | cut -d' ' -f1; }
zcat=$(median zcat "$log.gz")
ours=$(in_home "$work/statvane" median "$statvane" --batch Bench)
[ -s "$work/report.txt" ] || {
    echo "Statvane wrote no report." >&2
    exit 1
}
best_of() { echo "$1" | sed -E 's/.*best ([0-9.]+) s.*/\1/'; }
plain=$("$build/bench/read_log_bench" "$log" 5)
gzipped=$("$build/bench/read_log_bench" "$log.gz" 5)
printf 'zcat > /dev/null: median %.4f s\nbatch run on the .gz: median %.4f s\n' "$zcat" "$ours"
printf 'ratio batch run / zcat: %.2f (goal: at most 0.81)\n' "$(echo "$ours / $zcat" | bc -l)"
echo "log pass, plain: $plain"
echo "log pass, gzip:  $gzipped"
printf 'ratio log pass gzip / (zcat + plain): %.2f (goal: at most 2)\n' \
    "$(echo "$(best_of "$gzipped") / ($zcat + $(best_of "$plain"))" | bc -l)"
