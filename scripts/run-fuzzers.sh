#!/usr/bin/env bash
# Runs each libFuzzer program of a fuzz build (make fuzz) in turn for a bounded
# time, starting from its committed inputs in tests/fuzz/corpus/NAME/. New
# inputs that reach new code go to BUILD_DIR/fuzz-scratch/NAME/new/, inputs
# that break a target to BUILD_DIR/fuzz-scratch/NAME/findings/; the committed
# corpus is only read. A dictionary tests/fuzz/NAME.dict, where there is one,
# gives the fuzzer the words of the format. Exits 1 when any target broke.
# Usage: scripts/run-fuzzers.sh BUILD_DIR [SECONDS_EACH]  (default $FUZZ_SECONDS, else 180)
set -euo pipefail

build=${1:?usage: run-fuzzers.sh BUILD_DIR [SECONDS_EACH]}
seconds=${2:-${FUZZ_SECONDS:-180}}
targets=$(cd "$(dirname "$0")/../tests/fuzz" && pwd)
scratch=$build/fuzz-scratch

broken=()
for corpus in "$targets"/corpus/*/; do
    name=$(basename "$corpus")
    program=$build/fuzz/fuzz_$name
    if [ ! -x "$program" ]; then
        echo "No fuzz program $program: build the target statvane_fuzzers first" >&2
        exit 2
    fi
    mkdir -p "$scratch/$name/new" "$scratch/$name/findings"
    # -timeout: an input that takes this long counts as a hang.
    options=(-max_total_time="$seconds" -timeout=10 -print_final_stats=1
        -artifact_prefix="$scratch/$name/findings/")
    [ -f "$targets/$name.dict" ] && options+=(-dict="$targets/$name.dict")
    echo "== fuzz_$name, ${seconds} s"
    if ! "$program" "${options[@]}" "$scratch/$name/new" "$corpus"; then
        broken+=("$name")
    fi
done

if [ ${#broken[@]} -gt 0 ]; then
    echo "Broken: ${broken[*]}; the inputs are in $scratch/<name>/findings/" >&2
    exit 1
fi
echo "No target broke."
