#!/usr/bin/env bash
# Measures the wx program from process start to its main window on the screen (mapped and
# captioned), under Xvfb, on a fresh prefix (made by the run itself, with only TSP put at its
# installed place, and empty configuration and data folders) and on a prepared one (the
# same folders after a first start). The splash is up meanwhile and does not hold it back.
# Beside it, turn about, runs a minimal wx program showing a frame with the same controls
# (startup_baseline.cpp), and the ratio of the medians is printed.
# Usage: scripts/bench-startup.sh [path/to/tamvel] [runs]   (default: build/tamvel, 20)
set -euo pipefail
if [ -z "${TAMVEL_BENCH_IN_XVFB:-}" ]; then
    export TAMVEL_BENCH_IN_XVFB=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
cd "$(dirname "$0")/.."
binary="$(realpath "${1:-build/tamvel}")"
runs="${2:-20}"
[ -x "$binary" ] || { echo "no program at $binary; build it first" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# An ASCII seminar name, so the caption can be searched for.
printf 'seminar=BENCH\n' >"$work/deployment.conf"
export TAMVEL_DEPLOYMENT="$work/deployment.conf"

# A user's folders with TSP installed in a prefix that does not exist otherwise.
new_home() {
    rm -rf "$1"
    mkdir -p "$1/data" "$1/config" "$1/runtime" "$1/prefix/drive_c/Program Files (x86)/TSP 5.1"
    chmod 700 "$1/runtime"
    printf 'tsp' >"$1/prefix/drive_c/Program Files (x86)/TSP 5.1/tsp.exe"
}

# The timer watches the X server's map and property events (see startup_timer.cpp).
c++ -std=c++20 -O2 -o "$work/startup_timer" scripts/startup_timer.cpp -lX11
# shellcheck disable=SC2046
c++ -std=c++20 -O2 -o "$work/startup_baseline" scripts/startup_baseline.cpp \
    $(wx-config --cxxflags --libs core,base)

# Starts the program with the folders of $1 and prints the milliseconds until its main
# window is mapped with its caption.
measure() {
    XDG_DATA_HOME="$1/data" XDG_CONFIG_HOME="$1/config" XDG_RUNTIME_DIR="$1/runtime" \
        TAMVEL_PREFIX="$1/prefix" "$work/startup_timer" BENCH "${2:-$binary}"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

report() {
    sort -n | awk -v name="$1" '{ v[NR] = $1 } END {
        printf "%-16s runs %d  min %d ms  median %d ms  max %d ms\n", name, NR, v[1], v[int((NR + 1) / 2)], v[NR] }'
}

: >"$work/fresh.ms"
: >"$work/prepared.ms"
: >"$work/baseline.ms"
new_home "$work/prepared"
measure "$work/prepared" >/dev/null
measure "$work/prepared" "$work/startup_baseline" >/dev/null
for ((i = 0; i < runs; i++)); do
    new_home "$work/fresh"
    measure "$work/fresh" >>"$work/fresh.ms"
    measure "$work/prepared" >>"$work/prepared.ms"
    measure "$work/prepared" "$work/startup_baseline" >>"$work/baseline.ms"
done
report "fresh prefix" <"$work/fresh.ms"
report "prepared prefix" <"$work/prepared.ms"
report "minimal wx frame" <"$work/baseline.ms"
baseline="$(median <"$work/baseline.ms")"
awk -v f="$(median <"$work/fresh.ms")" -v p="$(median <"$work/prepared.ms")" -v b="$baseline" \
    'BEGIN { printf "ratio to the minimal frame (medians): fresh %.2f  prepared %.2f\n", f / b, p / b }'
