#!/usr/bin/env bash
# A 1,000,000-line combined log: the log pass (every per-line analysis) against `wc -l` on the
# same file, both with a warm cache. Usage: bench/read_log.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=bench/bench_common.sh
source "$here/bench_common.sh"
build=${1:-$here/../build}
million_line_log
cat "$log" >/dev/null

best_wc=999
for _ in 1 2 3 4 5 6 7; do
    start=$(date +%s.%N)
    wc -l "$log" >/dev/null
    end=$(date +%s.%N)
    best_wc=$(echo "$end - $start" | bc -l | awk -v b="$best_wc" '{print ($1 < b) ? $1 : b}')
done
ours=$("$build/bench/read_log_bench" "$log" 7)
best_ours=$(echo "$ours" | sed -E 's/.*best ([0-9.]+) s.*/\1/')
echo "log pass: $ours"
printf 'wc -l: best %.4f s\nratio log pass / wc -l: %.2f (goal: at most 3)\n' "$best_wc" \
    "$(echo "$best_ours / $best_wc" | bc -l)"
