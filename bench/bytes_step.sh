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

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0))
print(s.getsockname()[1])')
site_address=http://127.0.0.1:$port
expected=$(python3 "$here/bytes_site.py" "$work/site" "$work/access.log" "$work/urls" \
    "$site_address" "$pages")

(cd "$work/site" && exec python3 -m http.server --bind 127.0.0.1 "$port" >/dev/null 2>&1) &
server=$!
for _ in $(seq 100); do
    curl -s --noproxy '*' -o /dev/null "$site_address/" && break
    sleep 0.1
done
curl -s --noproxy '*' -o /dev/null "$site_address/" || {
    echo "The web server did not start on port $port." >&2
    exit 1
}

# A program directory with one report: top pages and bytes, saved to a file.
# The resolver library reports a connection when it is given a DNS server;
# no look-up is ever made.
home=$work/statvane
mkdir -p "$home"
printf '%s\r\n' "[Bytes]" "Description=Bytes benchmark" "Visitors=0" "Referrers=0" "DNS=0" \
    "Pages=1" "Bytes=1" "Browser=0" "File=1" "Output=$work/report.txt" "Total Options=2" \
    "E-Mail Address=" "E-Mail=0" >"$home/reports.dat"
printf '%s\r\n' "[Bytes]" "File 0=$work/access.log" >"$home/files.dat"
printf '%s\r\n' "REGEDIT4" "" "[HKEY_CURRENT_USER\\Software\\Velmor Software\\Statvane\\Settings]" \
    "\"Web Site\"=\"$site_address\"" >"$home/registry.reg"

ours=$(STATVANE_HOME=$home STATVANE_SETTINGS=$home/registry.reg STATVANE_DNS_SERVER=127.0.0.1:9 \
    python3 "$here/measure.py" --runs "$runs" -- "$statvane" --batch Bytes)
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
