#!/usr/bin/env bash
# Start-up of the window against a bare Qt window of the same size (bench/bare_window.cpp):
# the time from starting each program to its window being mapped on the X server, alternately,
# RUNS times each (15) after one unmeasured run of each, then both medians and their ratio.
# It runs itself under xvfb-run, with no window manager; both programs start in an empty
# folder, so that the window's file list finds nothing.
#   bench/startup.sh [build-release/veldrune] [build-release/bench/bare_window]
set -euo pipefail
program=$(realpath "${1:-build-release/veldrune}")
bare=$(realpath "${2:-build-release/bench/bare_window}")
# The waiter is built beside the bare window.
waiter=$(dirname "$bare")/wait_mapped
runs=${RUNS:-15}
if [ -z "${VELDRUNE_STARTUP_XVFB:-}" ]; then
    exec env VELDRUNE_STARTUP_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24" \
        "$0" "$program" "$bare"
fi

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir -m 700 "$dir/runtime" "$dir/work"
export XDG_RUNTIME_DIR="$dir/runtime"
mkfifo "$dir/mapped"

# Microseconds from starting the program to its window of that name being mapped.
startup() {
    local path=$1 title=$2 ready shown start pid
    "$waiter" "$title" > "$dir/mapped" &
    local waiting=$!
    exec 3< "$dir/mapped"
    read -r -t 10 ready <&3
    start=$(date +%s%N)
    (cd "$dir/work" && exec "$path") > /dev/null 2>&1 &
    pid=$!
    if ! read -r -t 30 shown <&3; then
        echo "no window \"$title\" from $path" >&2
        exit 1
    fi
    exec 3<&-
    wait "$waiting"
    kill "$pid"
    wait "$pid" 2> /dev/null || true
    echo $(((shown - start) / 1000))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

startup "$program" "QEL VELDRUNE" > /dev/null
startup "$bare" "VELDRUNE bare window" > /dev/null
: > "$dir/program.times"
: > "$dir/bare.times"
for i in $(seq 1 "$runs"); do
    # Each takes the lead in turn.
    if ((i % 2)); then
        startup "$program" "QEL VELDRUNE" >> "$dir/program.times"
        startup "$bare" "VELDRUNE bare window" >> "$dir/bare.times"
    else
        startup "$bare" "VELDRUNE bare window" >> "$dir/bare.times"
        startup "$program" "QEL VELDRUNE" >> "$dir/program.times"
    fi
done
program_median=$(median < "$dir/program.times")
bare_median=$(median < "$dir/bare.times")
awk -v p="$program_median" -v b="$bare_median" -v n="$runs" 'BEGIN {
    printf "start-up to a visible window, median of %d runs each:\n", n
    printf "  veldrune     %7.1f ms\n  bare window  %7.1f ms\n  ratio        %7.2f\n",
           p / 1000, b / 1000, p / b }'
