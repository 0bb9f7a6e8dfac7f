#!/usr/bin/env bash
# The bytes step against a slow site: 1,000 distinct pages of a loopback site
# that answers each request 100 ms after it came. The batch run as it is
# (several pages at once) and one page at a time (STATVANE_PAGES_AT_ONCE=1):
# prints both wall times and checks that both reports give the expected
# figures, the same to the last digit. Then a site that accepts connections
# and never answers, with 131 pages: prints how long that run takes (the
# step gives up after 30 s without an answer).
# Usage: bench/page_sizes.sh [BUILD_DIR]   (after `make build`)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=bench/bench_common.sh
source "$here/bench_common.sh"
pages=1000
silent_pages=131
delay_ms=100

find_statvane "${1:-$here/../build}"
"$here/../scripts/install-deps.sh" time

work=$(mktemp -d)
servers=()
cleanup() {
    [ ${#servers[@]} -eq 0 ] || kill "${servers[@]}"
    rm -rf "$work"
}
trap cleanup EXIT

# Starts slow_site.py on a free port with the given arguments after the
# port; sets site_address.
start_site() { # slow_site.py arguments after PORT...
    local port
    port=$(free_loopback_port)
    python3 "$here/slow_site.py" "$port" "$@" &
    servers+=($!)
    wait_until_listening "$port"
    site_address=http://127.0.0.1:$port
}

# The six byte figures of a report.
byte_lines() { # REPORT
    grep -a -A5 "^Total Bytes Transferred:" "$1"
}

# Runs the report once in the program directory HOME; prints its wall time.
timed_run() { # HOME [VARIABLE=VALUE...]
    local home=$1
    shift
    in_bytes_report_home "$home" env "$@" python3 "$here/measure.py" --runs 1 -- \
        "$statvane" --batch Bytes | cut -d' ' -f1
}

start_site "$work/site" "$delay_ms"
expected=$(python3 "$here/bytes_site.py" "$work/site" "$work/access.log" "$work/urls" \
    "$site_address" "$pages")
bytes_report_home "$work/slow" "$work/access.log" "$site_address" "$work/report.txt"
several=$(timed_run "$work/slow")
byte_lines "$work/report.txt" >"$work/several.txt"
one=$(timed_run "$work/slow" STATVANE_PAGES_AT_ONCE=1)
byte_lines "$work/report.txt" >"$work/one.txt"
grep -qx "Total Bytes Transferred:  $expected"$'\r' "$work/several.txt" || {
    echo "The report does not give the expected $expected bytes:" >&2
    cat "$work/several.txt" >&2
    exit 1
}
cmp -s "$work/several.txt" "$work/one.txt" || {
    echo "The figures differ between several pages at once and one at a time:" >&2
    diff "$work/several.txt" "$work/one.txt" >&2
    exit 1
}

start_site --silent
python3 "$here/bytes_site.py" "$work/unused" "$work/silent.log" "$work/silent-urls" \
    "$site_address" "$silent_pages" >/dev/null
bytes_report_home "$work/silent" "$work/silent.log" "$site_address" "$work/silent.txt"
silent=$(timed_run "$work/silent")
grep -qx "Total Bytes Transferred:  0"$'\r' "$work/silent.txt" || {
    echo "The silent site's report does not give 0 bytes:" >&2
    byte_lines "$work/silent.txt" >&2
    exit 1
}

awk -v pages="$pages" -v delay="$delay_ms" -v several="$several" -v one="$one" \
    -v silent_pages="$silent_pages" -v silent="$silent" 'BEGIN {
    printf "Bytes step, %d distinct pages, each answered after %d ms on loopback\n\n",
        pages, delay
    printf "%-30s %10s %12s\n", "Statvane --batch", "wall s", "pages / s"
    printf "%-30s %10.3f %12.1f\n", "several pages at once", several, pages / several
    printf "%-30s %10.3f %12.1f\n", "one page at a time", one, pages / one
    printf "\nSpeed-up: %.2f; the figures of both runs are identical.\n", one / several
    printf "\nA site that never answers, %d pages: %.3f s\n", silent_pages, silent
}'
