#!/usr/bin/env bash
# The bytes step on 1,000 distinct pages served by Python's web server on
# loopback: the batch run of a report with Pages and Bytes, against `curl -sI`
# started once per page in a shell loop over the same addresses. Prints pages
# per second of both and their ratio (goal: the batch run at least as fast).
# Usage: bench/bytes_step.sh [BUILD_DIR]   (after `make build`)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=bench/bench_common.sh
source "$here/bench_common.sh"
pages=1000
runs=3

find_statvane "${1:-$here/../build}"
"$here/../scripts/install-deps.sh" curl time

work=$(mktemp -d)
server=
cleanup() {
    [ -z "$server" ] || kill "$server"
    rm -rf "$work"
}
trap cleanup EXIT

port=$(free_loopback_port)
site_address=http://127.0.0.1:$port
expected=$(python3 "$here/bytes_site.py" "$work/site" "$work/access.log" "$work/urls" \
    "$site_address" "$pages")

(cd "$work/site" && exec python3 -m http.server --bind 127.0.0.1 "$port" >/dev/null 2>&1) &
server=$!
wait_until_listening "$port"

home=$work/statvane
bytes_report_home "$home" "$work/access.log" "$site_address" "$work/report.txt"
ours=$(in_bytes_report_home "$home" python3 "$here/measure.py" --runs "$runs" -- \
    "$statvane" --batch Bytes)
grep -qx "Total Bytes Transferred:  $expected"$'\r' "$work/report.txt" || {
    echo "The report does not give the expected $expected bytes:" >&2
    grep -a "Bytes Transferred" "$work/report.txt" >&2
    exit 1
}

cat >"$work/curl_loop.sh" <<'LOOP'
while read -r url; do
    curl -sI --noproxy '*' "$url" >/dev/null
done <"$1"
LOOP
theirs=$(python3 "$here/measure.py" --runs "$runs" -- bash "$work/curl_loop.sh" "$work/urls")

awk -v pages="$pages" -v runs="$runs" -v ours="${ours%% *}" -v theirs="${theirs%% *}" 'BEGIN {
    printf "Bytes step, %d distinct pages, python3 -m http.server on loopback, best of %d\n\n",
        pages, runs
    printf "%-22s %10s %12s\n", "Program", "wall s", "pages / s"
    printf "%-22s %10.3f %12.1f\n", "Statvane --batch", ours, pages / ours
    printf "%-22s %10.3f %12.1f\n", "curl -sI per page", theirs, pages / theirs
    printf "\nOur rate / curl loop rate:  %6.2f (goal: at least 1)\n", theirs / ours
}'
