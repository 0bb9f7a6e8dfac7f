#!/usr/bin/env bash
# Takes the README's screenshots of the desktop program on a virtual X display
# (Xvfb, 1024x768):
#   docs/main-window.png      the main window with four reports;
#   docs/progress-window.png  the progress window of a run over 5,000,000 log
#                             lines (the benchmarks' generated log, read five
#                             times), started as `statvane NAME close`;
#   docs/results-window.png   the results window of a report shown on screen;
#   docs/results-traffic.png  its "Traffic" tab and
#   docs/results-status.png   its "Status" tab, for a report of a month's log
#                             that selects traffic over time and status codes.
# The reports live in a temporary program directory, settings file and
# runtime folder, so your own reports, settings and a desktop program you
# have open are not touched. Runs are offline: nothing is looked up or mailed.
# Usage: scripts/screenshots.sh [BUILD_DIR]   (default: build)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
# shellcheck source=bench/bench_common.sh
source "$top/bench/bench_common.sh"
build=$(realpath "${1:-$top/build}")
statvane=$build/bin/statvane
docs=$top/docs
wait_seconds=20 # for a window to appear
settle_seconds=1 # from a window's appearing to its shot, for Qt to paint it


fail() {
    echo "screenshots.sh: $*" >&2
    exit 1
}

[ -x "$statvane" ] || fail "no program at $statvane; build it first (make build-program)"
# The X server, `import`, `xwininfo`, Qt's X plug-in and a font for it.
"$here/install-deps.sh" xvfb imagemagick x11-utils qt6-qpa-plugins fonts-dejavu-core

work=$(mktemp -d /tmp/statvane-screenshots-XXXXXX)
mkdir -m 0700 "$work/runtime"
started=() # the processes this script started, ended by their ids on exit
cleanup() {
    local pid
    for pid in "${started[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# A small log of its own for each of the other reports.
make_small_logs() {
    local variant=1 name
    mkdir -p "$work/logs"
    for name in shop blog staging; do
        python3 "$top/bench/generate_log.py" --lines 2000 --days 3 --variant $variant \
            "$work/logs/$name.log"
        variant=$((variant + 1))
    done
}

# A month of a busier site, for the traffic and status charts.
make_month_log() {
    python3 "$top/bench/generate_log.py" --lines 20000 --days 30 --variant 4 "$work/logs/month.log"
}

# reports.dat and files.dat as the program writes them (CR LF line ends).
crlf() { printf '%s\r\n' "$@"; }
report() { # NAME DESCRIPTION VISITORS REFERRERS PAGES BROWSER OUTPUT [TRAFFIC STATUS]
    local traffic=${8:-0} status=${9:-0} to_file=0
    local analyses=$(($3 + $4 + $5 + $6 + traffic + status))
    [ -n "$7" ] && to_file=1
    crlf "[$1]" "Description=$2" "Visitors=$3" "Referrers=$4" "DNS=0" "Pages=$5" "Bytes=0" \
        "Browser=$6" "File=$to_file" "Output=$7" "Total Options=$analyses" \
        "E-Mail Address=" "E-Mail=0"
    if ((traffic || status)); then
        crlf "Traffic=$traffic" "Status=$status"
    fi
}
write_profiles() {
    local home=$work/home out=$work/out
    mkdir -p "$home" "$out"
    {
        report "Nightly nginx" "Last night's nginx access logs" 1 1 1 1 "$out/nightly.txt"
        report "Shop (Apache)" "The shop's Apache logs, visitors and top pages" 1 0 1 0 \
            "$out/shop.txt"
        report "Blog - last month" "Referrers and browsers of the blog" 0 1 0 1 ""
        report "Staging" "Test traffic on the staging server" 1 0 0 0 "$out/staging.txt"
    } >"$home/reports.dat"
    {
        crlf "[Nightly nginx]"
        local copy
        for copy in 0 1 2 3 4; do crlf "File $copy=$log"; done
        crlf "[Shop (Apache)]" "File 0=$work/logs/shop.log"
        crlf "[Blog - last month]" "File 0=$work/logs/blog.log"
        crlf "[Staging]" "File 0=$work/logs/*staging.log"
    } >"$home/files.dat"
}

# A report shown on screen of the four lists, traffic and status, added after the main
# window's shot so that it lists the four reports above.
add_month_report() {
    { crlf "" && report "Month" "A month of the site" 1 1 1 1 "" 1 1; } >>"$work/home/reports.dat"
    { crlf "" "[Month]" "File 0=$work/logs/month.log"; } >>"$work/home/files.dat"
}

# Brings the results window's tab NUMBER (0 the first) to the front: Ctrl+Tab
# moves one tab on from the first.
show_tab() { # WINDOW_ID NUMBER
    local step
    for ((step = 0; step < $2; step++)); do
        xdotool key --window "$1" ctrl+Tab
    done
}

# Starts Xvfb on a display number it picks itself; sets DISPLAY.
start_display() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" \
        >"$work/xvfb.log" 2>&1 &
    started+=($!)
    local deadline=$((SECONDS + wait_seconds))
    while [ ! -s "$work/display" ] && ((SECONDS < deadline)); do
        sleep 0.1
    done
    [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    DISPLAY=:$(cat "$work/display")
    export DISPLAY
}

# Starts the program on the display with the temporary files; sets program.
start_statvane() {
    STATVANE_HOME=$work/home STATVANE_SETTINGS=$work/registry.reg STATVANE_OFFLINE=1 \
        XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb \
        "$statvane" "$@" >>"$work/statvane.log" 2>&1 &
    program=$!
    started+=("$program")
}

# The ids of the mapped windows whose title begins with TITLE (default:
# titled "Statvane" exactly), one a line, with their sizes: "ID WIDTHxHEIGHT".
statvane_windows() {
    local title=${1:-Statvane\"} id
    xwininfo -root -tree | awk -v title="\"$title" 'index($0, title) { print $1 }' | while read -r id; do
        xwininfo -id "$id" | awk -v id="$id" '
            /Width:/ { width = $2 } /Height:/ { height = $2 }
            /Map State: IsViewable/ { viewable = 1 }
            END { if (viewable) print id, width "x" height }'
    done
}

# Waits until a mapped "Statvane" window of another size than AVOID_SIZE
# (none: any size) appears; prints "ID SIZE". A window may go while it is
# listed: then it is left out.
wait_for_window() { # AVOID_SIZE WHAT [TITLE]
    local avoid_size=$1 what=$2 title=${3:-} deadline=$((SECONDS + wait_seconds)) windows found
    while ((SECONDS < deadline)); do
        kill -0 "$program" 2>/dev/null ||
            fail "statvane ended before its $what appeared: $(cat "$work/statvane.log")"
        windows=$(statvane_windows "$title" 2>/dev/null || true)
        found=$(awk -v avoid="$avoid_size" '$2 != avoid { print; exit }' <<<"$windows")
        if [ -n "$found" ]; then
            echo "$found"
            return
        fi
        sleep 0.2
    done
    fail "no $what (a mapped window titled \"Statvane\") within $wait_seconds s"
}

shoot() { # WINDOW_ID FILE
    sleep "$settle_seconds"
    import -window "$1" "$2"
    echo "Written: $(realpath --relative-to="$top" "$2")"
}

# Shoots a window once it looks different from its first shot: the progress
# window after the run has read its lines, with the bar and the count moving.
shoot_when_changed() { # WINDOW_ID FILE
    local deadline=$((SECONDS + wait_seconds))
    sleep "$settle_seconds"
    import -window "$1" "$work/first.png"
    while ((SECONDS < deadline)); do
        sleep 0.3
        import -window "$1" "$2" 2>/dev/null || break
        if ! cmp -s "$work/first.png" "$2"; then
            echo "Written: $(realpath --relative-to="$top" "$2")"
            return
        fi
    done
    fail "the progress window did not change within $wait_seconds s"
}

stop_statvane() {
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
}

million_line_log # the benchmarks' log, made once and kept in their cache
make_small_logs
make_month_log
write_profiles
mkdir -p "$docs"
start_display

start_statvane
window=$(wait_for_window none "main window")
read -r main_window main_size <<<"$window"
shoot "$main_window" "$docs/main-window.png"
stop_statvane

# The progress window is told from the main window, which has the same title,
# by its size.
start_statvane "Nightly nginx" close
window=$(wait_for_window "$main_size" "progress window")
read -r progress_window _ <<<"$window"
shoot_when_changed "$progress_window" "$docs/progress-window.png"
xwininfo -id "$progress_window" 2>/dev/null | grep -q "Map State: IsViewable" ||
    fail "the run ended before the progress window's shot was taken; it shows no progress"
stop_statvane

# A report shown on screen: the results window, titled after the report's dates.
start_statvane "Blog - last month"
window=$(wait_for_window none "results window" "Report Profile")
read -r results_window _ <<<"$window"
shoot "$results_window" "$docs/results-window.png"
stop_statvane

# The traffic and status tabs, after the five tabs of the lists.
add_month_report
start_statvane "Month"
window=$(wait_for_window none "results window" "Report Profile")
read -r results_window _ <<<"$window"
show_tab "$results_window" 5
shoot "$results_window" "$docs/results-traffic.png"
show_tab "$results_window" 1
shoot "$results_window" "$docs/results-status.png"
stop_statvane
