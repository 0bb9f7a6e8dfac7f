#!/usr/bin/env bash
# The batch report of visitors, referrers, pages and browsers over the
# 1,000,000-line log, with and without some report keys added (by default
# traffic over time and status codes): the median wall time and peak memory
# of each, runs alternating so that both see the same machine, and their
# ratios.
# Usage: bench/added_keys.sh [BUILD_DIR] [PAIRS] [KEY=VALUE...]
#   e.g. bench/added_keys.sh build-release 7 Robots=Exclude
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=bench/bench_common.sh
source "$here/bench_common.sh"

find_statvane "${1:-$here/../build}"
pairs=${2:-7}
shift $(($# < 2 ? $# : 2))
keys=("$@")
[ ${#keys[@]} -gt 0 ] || keys=(Traffic=1 Status=1)
"$here/../scripts/install-deps.sh" time bc

million_line_log

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tables_report_home "$work/without" "$log" "$work/without.txt"
tables_report_home "$work/with" "$log" "$work/with.txt"
printf '%s\r\n' "${keys[@]}" >>"$work/with/reports.dat"

cat "$log" >/dev/null
for _ in $(seq "$pairs"); do
    for report in without with; do
        in_home "$work/$report" python3 "$here/measure.py" --runs 1 -- \
            "$statvane" --batch Bench >>"$work/$report.times"
    done
done
cmp -s "$work/with.txt" "$work/without.txt" && {
    echo "The keys ${keys[*]} changed nothing in the report." >&2
    exit 1
}

# Prints the median seconds and the largest peak KiB of a times file.
figures() { sort -n "$1" | awk '{ t[NR] = $1; if ($2 > m) m = $2 }
    END { print t[int((NR + 1) / 2)], m }'; }
read -r without_s without_kib <<<"$(figures "$work/without.times")"
read -r with_s with_kib <<<"$(figures "$work/with.times")"

printf 'without: median %.3f s, peak %.1f MiB\n' "$without_s" "$(echo "$without_kib / 1024" | bc -l)"
printf 'with:    median %.3f s, peak %.1f MiB\n' "$with_s" "$(echo "$with_kib / 1024" | bc -l)"
echo "with: ${keys[*]}"
printf 'with / without: time %.3f, memory +%.1f MiB\n' \
    "$(echo "$with_s / $without_s" | bc -l)" "$(echo "($with_kib - $without_kib) / 1024" | bc -l)"
