#!/usr/bin/env bash
# Measures the TSP engine against gretl's command-line client on one large regression:
# OLSQ of Y on a constant and ten regressors over 1,000,000 observations read from a CSV
# file of about 137 MB. The file is made once (fixed seed); then each program runs three
# times, alternately, under /usr/bin/time. Prints both medians of wall time, of processor
# time (user + system, less sensitive to a busy machine) and of peak memory (maximum
# resident set), and the engine's share of gretl's time and memory.
# Usage: scripts/bench-engine.sh [path/to/tamvel-tsp]   (default: build/tamvel-tsp)
set -euo pipefail
cd "$(dirname "$0")/.."
engine="$(realpath "${1:-build/tamvel-tsp}")"
[ -x "$engine" ] || { echo "no engine at $engine; build the tamvel_tsp target first" >&2; exit 1; }
command -v gretlcli >/dev/null || { echo "gretlcli is not installed (Debian package gretl)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time is not installed (Debian package time)" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
rows=1000000

# y = 1 + 0.5 x1 + ... + 0.5 x10 + noise, every value with nine decimals.
awk -v rows="$rows" 'BEGIN {
    srand(20261210)
    printf "y"; for (j = 1; j <= 10; j++) printf ",x%d", j; printf "\n"
    for (i = 0; i < rows; i++) {
        y = 1; line = ""
        for (j = 1; j <= 10; j++) { x = rand() * 10; y += 0.5 * x; line = line sprintf(",%.9f", x) }
        printf "%.9f%s\n", y + rand() - 0.5, line
    }
}' >"$work/big.csv"
echo "data file: $(du -m "$work/big.csv" | cut -f1) MB, $rows observations, 11 columns"

cat >"$work/big.tsp" <<'TSP'
READ(FILE='big.csv') Y X1 X2 X3 X4 X5 X6 X7 X8 X9 X10;
OLSQ Y C X1 X2 X3 X4 X5 X6 X7 X8 X9 X10;
END;
TSP
cat >"$work/big.inp" <<'INP'
open big.csv --quiet
ols y const x1 x2 x3 x4 x5 x6 x7 x8 x9 x10
INP

# One timed run: appends "wall-seconds kilobytes cpu-seconds" to the named list.
measure() {
    local list="$1"
    shift
    (cd "$work" && /usr/bin/time -f "%e %M %U %S" -o "$work/time" "$@" >/dev/null 2>&1) || {
        echo "run failed: $*" >&2
        exit 1
    }
    awk '{ printf "%s %s %.2f\n", $1, $2, $3 + $4 }' "$work/time" >>"$work/$list"
}

for run in 1 2 3; do
    measure engine "$engine" big.tsp
    measure gretl gretlcli -b big.inp
    echo "run $run: engine $(tail -1 "$work/engine"), gretlcli $(tail -1 "$work/gretl") (wall s, KiB, cpu s)"
done
grep -q "Number of observations:  $rows" "$work/big.out" || {
    echo "the engine's result file does not show the regression" >&2
    exit 1
}

median() { cut -d' ' -f"$2" "$work/$1" | sort -g | sed -n 2p; }
engineTime=$(median engine 1)
gretlTime=$(median gretl 1)
engineMemory=$(median engine 2)
gretlMemory=$(median gretl 2)
engineCpu=$(median engine 3)
gretlCpu=$(median gretl 3)
awk -v et="$engineTime" -v gt="$gretlTime" -v em="$engineMemory" -v gm="$gretlMemory" \
    -v ec="$engineCpu" -v gc="$gretlCpu" 'BEGIN {
    printf "tamvel-tsp: median %.2f s (cpu %.2f s), peak memory %.0f MiB\n", et, ec, em / 1024
    printf "gretlcli:   median %.2f s (cpu %.2f s), peak memory %.0f MiB\n", gt, gc, gm / 1024
    printf "time ratio (tamvel-tsp / gretlcli): %.3f (cpu %.3f)\n", et / gt, ec / gc
    printf "memory ratio (tamvel-tsp / gretlcli): %.3f\n", em / gm
}'
