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

# Sets log to the generated log NAME, made by generate_log.py with the given
# arguments the first time and kept in $STATVANE_BENCH_DATA (default
# /tmp/statvane-bench).
generated_log() { # NAME GENERATE_LOG_ARGUMENTS...
    local data=${STATVANE_BENCH_DATA:-/tmp/statvane-bench}
    log=$data/$1
    shift
    mkdir -p "$data"
    [ -s "$log" ] || {
        python3 "$bench_dir/generate_log.py" "$@" "$log.part"
        mv "$log.part" "$log"
    }
}

# Sets log to the benchmarks' 1,000,000-line combined log.
million_line_log() {
    generated_log access-1m.log --lines 1000000 --days 30 --visitors 50000 --pages 5000
}

# Makes HOME a program directory with one report "Bench": visitors,
# referrers, pages and browsers of LOG, no look-ups, saved to OUTPUT. Its
# settings file is HOME/registry.reg; run the program there with in_home.
tables_report_home() { # HOME LOG OUTPUT
    mkdir -p "$1"
    printf '%s\r\n' "[Bench]" "Description=Tables benchmark" "Visitors=1" "Referrers=1" "DNS=0" \
        "Pages=1" "Bytes=0" "Browser=1" "File=1" "Output=$3" "Total Options=4" \
        "E-Mail Address=" "E-Mail=0" >"$1/reports.dat"
    printf '%s\r\n' "[Bench]" "File 0=$2" >"$1/files.dat"
}

# Runs COMMAND with the program directory HOME and its settings file.
in_home() { # HOME COMMAND...
    local home=$1
    shift
    STATVANE_HOME=$home STATVANE_SETTINGS=$home/registry.reg "$@"
}

# Prints a TCP port on 127.0.0.1 that is free at the moment of asking.
free_loopback_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0))
print(s.getsockname()[1])'
}

# Waits (10 s at most) until something accepts connections on 127.0.0.1:PORT.
wait_until_listening() { # PORT
    python3 - "$1" <<'WAIT' || {
import socket, sys, time
for _ in range(100):
    try:
        socket.create_connection(("127.0.0.1", int(sys.argv[1])), timeout=1).close()
        sys.exit(0)
    except OSError:
        time.sleep(0.1)
sys.exit(1)
WAIT
        echo "Nothing listens on port $1." >&2
        exit 1
    }
}

# Makes HOME a program directory with one report "Bytes" (top pages and
# bytes of LOG, saved to OUTPUT) and a settings file naming SITE as "Web
# Site"; run the program there with in_bytes_report_home.
bytes_report_home() { # HOME LOG SITE OUTPUT
    mkdir -p "$1"
    printf '%s\r\n' "[Bytes]" "Description=Bytes benchmark" "Visitors=0" "Referrers=0" "DNS=0" \
        "Pages=1" "Bytes=1" "Browser=0" "File=1" "Output=$4" "Total Options=2" \
        "E-Mail Address=" "E-Mail=0" >"$1/reports.dat"
    printf '%s\r\n' "[Bytes]" "File 0=$2" >"$1/files.dat"
    printf '%s\r\n' "REGEDIT4" "" \
        "[HKEY_CURRENT_USER\\Software\\Velmor Software\\Statvane\\Settings]" \
        "\"Web Site\"=\"$3\"" >"$1/registry.reg"
}

# Runs COMMAND with the program directory HOME made by bytes_report_home. The
# resolver library reports a connection when it is given a DNS server; no
# look-up is ever made.
in_bytes_report_home() { # HOME COMMAND...
    STATVANE_DNS_SERVER=127.0.0.1:9 in_home "$@"
}
