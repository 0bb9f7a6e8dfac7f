#!/usr/bin/env bash
# The reverse look-up step on 10,000 unique visitors against dnsmasq on
# loopback: a third of the addresses have names, a third get NXDOMAIN and a
# third are forwarded to a server that never answers (three-second time-out).
# Times the batch run of a report with Visitors and DNS (the default resolver
# library asks all addresses at once), checks its report and dns.log, and
# computes the one-look-up-at-a-time figure from a sample of ResolveIP calls.
# Usage: bench/reverse_dns.sh [BUILD_DIR] [VISITORS] [SAMPLE]  (after `make build`)
set -euo pipefail
source "$(dirname "$0")/bench_common.sh"
here=$bench_dir
build=${1:-$here/../build}
visitors=${2:-10000}
sample=${3:-3}
find_statvane "$build"
library=$(dirname "$statvane")/resolve.so
"$here/../scripts/install-deps.sh" time
peers="python3 $here/reverse_dns_peers.py"

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid"; done
    rm -rf "$work"
}
trap cleanup EXIT

free_port() {
    python3 -c 'import socket; s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

$peers setup "$work" "$visitors"
silent_port=$(free_port)
$peers silent "$silent_port" &
pids+=($!)
dns_port=$(free_port)
/usr/sbin/dnsmasq --no-daemon --conf-file="$work/ptr.conf" --pid-file= --log-facility=- \
    --port="$dns_port" --listen-address=127.0.0.1 --bind-interfaces --no-resolv --no-hosts \
    --local=/in-addr.arpa/ --server="/20.10.in-addr.arpa/127.0.0.1#$silent_port" \
    --dns-forward-max=20000 2>/dev/null &
pids+=($!)
$peers wait "$dns_port"
export STATVANE_DNS_SERVER=127.0.0.1:$dns_port

# A program directory with one report: the visitors, looked up, saved to a file.
home=$work/statvane
mkdir -p "$home"
printf '%s\r\n' "[Visitors]" "Description=Reverse look-up benchmark" "Visitors=1" "Referrers=0" \
    "DNS=1" "Pages=0" "Bytes=0" "Browser=0" "File=1" "Output=$work/report.txt" \
    "Total Options=2" "E-Mail Address=" "E-Mail=0" >"$home/reports.dat"
printf '%s\r\n' "[Visitors]" "File 0=$work/access.log" >"$home/files.dat"

ours=$(STATVANE_HOME=$home python3 "$here/measure.py" --runs 1 -- "$statvane" --batch Visitors)
named=$(grep -ao 'host[0-9]*\.statvane\.test' "$work/report.txt" | sort -u | wc -l)
cached=$(wc -l <"$home/dns.log")
[ "$named" -eq $(((visitors + 2) / 3)) ] && [ "$cached" -eq $((visitors - named)) ] || {
    echo "Unexpected outcome: $named names in the report, $cached entries in dns.log." >&2
    exit 1
}

read -r per_named per_silent per_unnamed < <($peers sample "$library" "$sample")

awk -v n="$visitors" -v ours="${ours%% *}" -v a="$per_named" -v s="$per_silent" \
    -v u="$per_unnamed" -v sample="$sample" 'BEGIN {
    third = n / 3
    one_by_one = third * (a + s + u)
    printf "Reverse look-ups, %d unique visitors, dnsmasq on loopback\n", n
    printf "(a third named, a third never answered, a third NXDOMAIN)\n\n"
    printf "%-40s %12.1f s\n", "Statvane --batch, whole run", ours
    printf "%-40s %12.1f s\n", "One ResolveIP per visitor (computed)", one_by_one
    printf "  from %d look-ups per third: %.4f s named, %.3f s silent, %.4f s NXDOMAIN\n",
        sample, a, s, u
    printf "\nSpeed-up: %.0fx (goal: the run under 10 s, one by one at least 50 min)\n",
        one_by_one / ours
}'
