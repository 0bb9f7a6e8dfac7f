#!/usr/bin/env bash
# The batch report of compare_peers.sh (visitors, referrers, pages and
# browsers, saved to a file) on the logs that stress memory: 8,000,000
# realistic lines, 1,000,000 lines whose host, page, referrer and browser are
# each seen once, and 1,000,000 lines of two bytes. Prints for each the median
# wall time with a warm cache, the peak memory (max RSS) and its ratio to the
# log's size, and the goal. The logs are generated once and kept beside the
# 1,000,000-line one (about 1.9 GB together).
# Usage: bench/pathological_logs.sh [BUILD_DIR]   (after `make build`)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=bench/bench_common.sh
source "$here/bench_common.sh"
runs=3

find_statvane "${1:-$here/../build}"
"$here/../scripts/install-deps.sh" time

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Appends "label|log bytes|median s|peak KiB|goal" for the report over $log.
rows=$work/rows
measure_log() { # LABEL GOAL
    local figures
    tables_report_home "$work/statvane" "$log" "$work/report.txt"
    rm -f "$work/report.txt"
    cat "$log" >/dev/null
    figures=$(in_home "$work/statvane" python3 "$here/measure.py" --median --runs "$runs" -- \
        "$statvane" --batch Bench)
    [ -s "$work/report.txt" ] || {
        echo "Statvane wrote no report for $log." >&2
        exit 1
    }
    echo "$1|$(stat -c %s "$log")|${figures/ /|}|$2" >>"$rows"
}

generated_log access-8m.log --lines 8000000 --days 30 --visitors 50000 --pages 5000
measure_log "8,000,000 lines" "peak at most 64 MiB"
generated_log access-1m-distinct.log --distinct --lines 1000000 --days 30
measure_log "every field distinct" "at most 3 s, peak at most 1.5x log"
generated_log access-1m-tiny.log --tiny --lines 1000000
measure_log "1,000,000 two-byte lines" "peak at most 32 MiB"

awk -F'|' -v runs="$runs" '
    BEGIN {
        printf "Batch report (visitors, referrers, pages, browsers), median of %d warm runs\n\n",
            runs
        printf "%-26s %9s %9s %13s %10s   %s\n", "Log", "log MiB", "wall s", "peak RSS MiB",
            "RSS / log", "goal"
    }
    {
        printf "%-26s %9.1f %9.3f %13.1f %10.2f   %s\n", $1, $2 / 1048576, $3, $4 / 1024,
            $4 * 1024 / $2, $5
    }' "$rows"
