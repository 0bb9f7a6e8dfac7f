#!/usr/bin/env bash
# Statvane's batch run against GoAccess, Webalizer and the single-pass
# reference program (bench/reference_pass.cpp: one thread reading the log and
# finding the fields of every line) on the same 1,000,000-line combined log:
# the median wall time of each with a warm cache and after the machine was
# left idle for 6 s before every run (a fresh process each time), the peak
# memory (max RSS) of each, and the ratios we aim for. No DNS anywhere: our
# report selects no look-ups and Webalizer runs with -N 0.
# Usage: bench/compare_peers.sh [BUILD_DIR]   (after `make build`)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=bench/bench_common.sh
source "$here/bench_common.sh"
warm_runs=5
idle_runs=3
idle_seconds=6

build=${1:-$here/../build}
find_statvane "$build"
reference=$build/bench/reference_pass
[ -x "$reference" ] || {
    echo "No $reference: build the target reference_pass first." >&2
    exit 1
}
"$here/../scripts/install-deps.sh" goaccess webalizer time

million_line_log

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

home=$work/statvane
tables_report_home "$home" "$log" "$work/report.txt"

version() {
    dpkg-query -W -f='${Version}' "$1" | sed -E 's/^[0-9]+://; s/-[^-]*$//'
}

# Appends "label|warm median s|warm peak KiB|idle median s|idle peak KiB" to
# the results; a failed run ends the script.
results=$work/results
measure() { # LABEL [measure.py options] -- COMMAND...
    local label=$1 warm idle
    shift
    warm=$(python3 "$here/measure.py" --median --runs "$warm_runs" "$@")
    idle=$(python3 "$here/measure.py" --median --runs "$idle_runs" --idle "$idle_seconds" "$@")
    echo "$label|${warm/ /|}|${idle/ /|}" >>"$results"
}

cat "$log" >/dev/null
in_home "$home" measure "Statvane --batch" -- "$statvane" --batch Bench
[ -s "$work/report.txt" ] || {
    echo "Statvane wrote no report." >&2
    exit 1
}
(cd "$work" && measure "GoAccess $(version goaccess)" -- goaccess "$log" \
    --log-format=COMBINED --no-progress --no-global-config -o "$work/out.json")
(cd "$work" && measure "Webalizer $(version webalizer)" --fresh-dir "$work/webalizer" \
    -- webalizer -Q -N 0 -o "$work/webalizer" "$log")
measure "reference_pass" -- "$reference" "$log"

# Rows: 1 Statvane, 2 GoAccess, 3 Webalizer, 4 the reference.
awk -F'|' -v file="$log" -v log_bytes="$(stat -c %s "$log")" -v warm_runs="$warm_runs" \
    -v idle_runs="$idle_runs" -v idle_seconds="$idle_seconds" '
    { label[NR] = $1; warm[NR] = $2; idle[NR] = $4; kib[NR] = $3 > $5 ? $3 : $5 }
    function ratios(name, a, b, goal) {
        printf "%-28s %7.2f %7.2f   (goal: %s)\n", name, warm[a] / warm[b], idle[a] / idle[b], goal
    }
    END {
        printf "Log: %s, %.0f MiB\n", file, log_bytes / 1048576
        printf "Medians of %d runs with a warm cache and of %d runs each after %d s idle\n\n",
            warm_runs, idle_runs, idle_seconds
        printf "%-24s %10s %10s %14s\n", "Program", "warm s", "idle s", "peak RSS MiB"
        for (i = 1; i <= NR; i++)
            printf "%-24s %10.3f %10.3f %14.1f\n", label[i], warm[i], idle[i], kib[i] / 1024
        printf "\n%-28s %7s %7s\n", "", "warm", "idle"
        ratios("GoAccess time / ours:", 2, 1, "at least 30 both")
        ratios("Webalizer time / ours:", 3, 1, "at least 8 both")
        ratios("Our time / reference:", 1, 4, "at most 1.5 both")
        printf "Our peak memory:             %7.1f MiB (goal: at most 48 MiB)\n", kib[1] / 1024
        printf "Our peak memory / log size:  %7.2f\n", kib[1] * 1024 / log_bytes
    }' "$results"
