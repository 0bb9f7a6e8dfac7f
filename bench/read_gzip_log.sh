#!/usr/bin/env bash
# Reading a 1,000,000-line combined log compressed with gzip: readLogFile on
# the .gz file against `zcat FILE > /dev/null` plus readLogFile on the plain
# file, all with a warm cache. Usage: bench/read_gzip_log.sh [BUILD_DIR]
set -euo pipefail
source "$(dirname "$0")/bench_common.sh"
build=${1:-$bench_dir/../build}
million_line_log
[ -s "$log.gz" ] && [ "$log.gz" -nt "$log" ] || gzip -c "$log" >"$log.gz"
cat "$log" "$log.gz" >/dev/null

best_zcat=999
for _ in 1 2 3 4 5; do
    start=$(date +%s.%N)
    zcat "$log.gz" >/dev/null
    end=$(date +%s.%N)
    best_zcat=$(echo "$end - $start" | bc -l | awk -v b="$best_zcat" '{print ($1 < b) ? $1 : b}')
done
best_of() { echo "$1" | sed -E 's/.*best ([0-9.]+) s.*/\1/'; }
plain=$("$build/bench/read_log_bench" "$log" 5)
gzipped=$("$build/bench/read_log_bench" "$log.gz" 5)
echo "readLogFile, plain: $plain"
echo "readLogFile, gzip:  $gzipped"
printf 'zcat > /dev/null: best %.4f s\nratio gzip / (zcat + plain): %.2f (goal: at most 2)\n' \
    "$best_zcat" "$(echo "$(best_of "$gzipped") / ($best_zcat + $(best_of "$plain"))" | bc -l)"
