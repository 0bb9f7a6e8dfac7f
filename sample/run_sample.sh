#!/usr/bin/env bash
# Runs the bundled sample: serves the sample site on a free loopback port
# (python3 -m http.server) so the report's bytes figure comes from real page
# sizes, runs the report "Sample" in batch and prints its main figures and
# where the whole report is.
# Usage: sample/run_sample.sh STATVANE DIR   (DIR made by sample/make_sample.sh)
set -euo pipefail
statvane=$(realpath "$1")
home=$(realpath "$2")

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server --bind 127.0.0.1 --directory "$home/site" "$port" >"$home/site.log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    python3 -c "import socket; socket.create_connection(('127.0.0.1', $port), 0.2)" 2>/dev/null && break
    sleep 0.1
done

printf '%s\r\n' "REGEDIT4" "" \
    "[HKEY_CURRENT_USER\\Software\\Velmor Software\\Statvane\\Settings]" \
    "\"Web Site\"=\"http://127.0.0.1:$port\"" "" >"$home/registry.reg"
# The site is on loopback; naming a (loopback) DNS server makes the resolver
# library count the machine as connected, so the bytes step runs even on a
# machine without a network. The report selects no look-ups: nothing is asked.
STATVANE_HOME=$home STATVANE_SETTINGS=$home/registry.reg STATVANE_DNS_SERVER=127.0.0.1:53 \
    "$statvane" --batch Sample

# The figures of the summary and the first row of "Top Pages" (the page asked
# for most: address, count, percentage), from the report's CR LF lines.
summarise() {
    tr -d '\r' <"$1" | awk '
        /^Total Number of Hits:  /            { hits = $NF }
        /^Total Number of Unique Visitors:  / { visitors = $NF }
        /^Total Bytes Transferred:  /         { bytes = $NF }
        /^------> Top Pages <------$/         { in_pages = 1 }
        in_pages && !top && match($0, /,[0-9]+,[0-9.]+$/) {
            split(substr($0, RSTART + 1), figures, ",")
            top = sprintf("%s (%s hits, %.1f%%)", substr($0, 1, RSTART - 1), figures[1], figures[2])
        }
        END {
            printf "  Hits:             %s\n", hits
            printf "  Unique visitors:  %s\n", visitors
            printf "  Top page:         %s\n", top
            printf "  Total bytes:      %s (%.1f MB)\n", bytes, bytes / 1048576
        }'
}

shown() { realpath --relative-to=. "$1"; }
report=$home/sample-report.txt
echo
echo "Sample report written: $(shown "$report") ($(wc -l <"$report") lines)"
summarise "$report"
echo
echo "The whole report:  less $(shown "$report")"
echo "Run it again:      $(shown "$0") $(shown "$statvane") $(shown "$home")"
