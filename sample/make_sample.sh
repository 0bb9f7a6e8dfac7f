#!/usr/bin/env bash
# Builds a sample program directory: three generated logs of three days each
# in DIR/logs, the pages they request in DIR/site, and one report "Sample"
# whose single input entry is that folder (every analysis but reverse DNS,
# saved to DIR/sample-report.txt). sample/run_sample.sh serves the site on
# loopback for the bytes figure and runs the report.
# The profile files are written as the program writes them: CR LF line ends,
# keys in saving order. Run a report on it with
#   STATVANE_HOME=DIR STATVANE_SETTINGS=DIR/registry.reg statvane --batch Sample
# Usage: sample/make_sample.sh [DIR]   (default: build/sample)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
home=${1:-$here/../build/sample}
mkdir -p "$home/logs"
home=$(realpath "$home")

# One log per three days, each from its own visitors and pages.
starts=(2026-11-02 2026-11-05 2026-11-08)
for variant in 1 2 3; do
    log=$home/logs/access-$variant.log
    [ -s "$log" ] || python3 "$here/../bench/generate_log.py" --lines 3000 --days 3 \
        --visitors 400 --pages 80 --start "${starts[variant - 1]}" --variant "$variant" "$log"
done

python3 "$here/make_site.py" "$home/site" "$home"/logs/*.log

write_profile_file() {
    local file=$1
    shift
    printf '%s\r\n' "$@" >"$file"
}

write_profile_file "$home/reports.dat" "[Sample]" \
    "Description=Nine days of a small site: three logs in one folder" \
    "Visitors=1" "Referrers=1" "DNS=0" "Pages=1" "Bytes=1" "Browser=1" \
    "File=1" "Output=$home/sample-report.txt" "Total Options=5" "E-Mail Address=" "E-Mail=0"
write_profile_file "$home/files.dat" "[Sample]" "File 0=$home/logs/*.*"
echo "Sample program directory: $home"
