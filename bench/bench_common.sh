# shellcheck shell=bash
# Sourced by the benchmark scripts (and the screenshot script): the built
# program and the generated 1,000,000-line log they work on.

bench_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Sets statvane to the absolute path of BUILD_DIR/bin/statvane; ends the
# script when the program is not built.
find_statvane() { # BUILD_DIR
    statvane=$1/bin/statvane
    [ -x "$statvane" ] || {
        echo "No $statvane: build it first (make build)." >&2
        exit 1
    }
    statvane=$(realpath "$statvane")
}

# Sets log to the benchmarks' 1,000,000-line combined log, generated once and
# kept in $STATVANE_BENCH_DATA (default /tmp/statvane-bench).
million_line_log() {
    local data=${STATVANE_BENCH_DATA:-/tmp/statvane-bench}
    log=$data/access-1m.log
    mkdir -p "$data"
    [ -s "$log" ] || python3 "$bench_dir/generate_log.py" --lines 1000000 --days 30 \
        --visitors 50000 --pages 5000 "$log"
}
