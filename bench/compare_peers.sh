#!/usr/bin/env bash
# Statvane's batch run against GoAccess, Webalizer and `wc -l` on the same
# 1,000,000-line combined log with a warm cache: best wall time and peak
# memory (max RSS) of each, and the ratios we aim for. No DNS anywhere: our
# report selects no look-ups and Webalizer runs with -N 0.
# Usage: bench/compare_peers.sh [BUILD_DIR]   (after `make build`)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=bench/bench_common.sh
source "$here/bench_common.sh"

find_statvane "${1:-$here/../build}"
"$here/../scripts/install-deps.sh" goaccess webalizer time

million_line_log

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A program directory with one report: visitors, referrers, pages and
# browsers, saved to a file; its settings file stays in the same folder.
home=$work/statvane
mkdir -p "$home"
printf '%s\r\n' "[Bench]" "Description=Peers benchmark" "Visitors=1" "Referrers=1" "DNS=0" \
    "Pages=1" "Bytes=0" "Browser=1" "File=1" "Output=$work/report.txt" "Total Options=4" \
    "E-Mail Address=" "E-Mail=0" >"$home/reports.dat"
printf '%s\r\n' "[Bench]" "File 0=$log" >"$home/files.dat"

version() {
    dpkg-query -W -f='${Version}' "$1" | sed -E 's/^[0-9]+://; s/-[^-]*$//'
}

# Appends "label|best seconds|peak KiB" to the results; a failed run ends the script.
results=$work/results
measure() {
    local label=$1
    shift
    local figures
    figures=$(python3 "$here/measure.py" "$@")
    echo "$label|${figures/ /|}" >>"$results"
}

cat "$log" >/dev/null
STATVANE_HOME=$home STATVANE_SETTINGS=$home/registry.reg \
    measure "Statvane --batch" --runs 5 -- "$statvane" --batch Bench
[ -s "$work/report.txt" ] || {
    echo "Statvane wrote no report." >&2
    exit 1
}
(cd "$work" && measure "GoAccess $(version goaccess)" --runs 3 -- goaccess "$log" \
    --log-format=COMBINED --no-progress --no-global-config -o "$work/out.json")
(cd "$work" && measure "Webalizer $(version webalizer)" --runs 3 --fresh-dir "$work/webalizer" \
    -- webalizer -Q -N 0 -o "$work/webalizer" "$log")
measure "wc -l" --runs 5 -- wc -l "$log"

# Rows: 1 Statvane, 2 GoAccess, 3 Webalizer, 4 wc -l.
awk -F'|' -v file="$log" -v log_bytes="$(stat -c %s "$log")" '
    { label[NR] = $1; seconds[NR] = $2; kib[NR] = $3 }
    END {
        printf "Log: %s, %.0f MiB, warm cache\n\n", file, log_bytes / 1048576
        printf "%-22s %12s %14s\n", "Program", "best wall s", "peak RSS MiB"
        for (i = 1; i <= NR; i++)
            printf "%-22s %12.3f %14.1f\n", label[i], seconds[i], kib[i] / 1024
        printf "\nGoAccess time / ours:        %6.2f (goal: at least 10)\n", seconds[2] / seconds[1]
        printf "Webalizer time / ours:       %6.2f (goal: at least 3)\n", seconds[3] / seconds[1]
        printf "Our peak memory / log size:  %6.2f (goal: at most 1.5)\n", kib[1] * 1024 / log_bytes
        printf "Our time / wc -l:            %6.2f\n", seconds[1] / seconds[4]
    }' "$results"
