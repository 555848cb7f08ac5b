#!/usr/bin/env bash
# Measures `tamvel --console` from start to ready and quit (input "quit"), on a fresh prefix
# (created by the run itself) and on a prepared one (TSP installed, prefix in place).
# Usage: scripts/bench-console.sh [path/to/tamvel]   (default: build/tamvel)
set -euo pipefail
cd "$(dirname "$0")/.."
binary="$(realpath "${1:-build/tamvel}")"
[ -x "$binary" ] || { echo "no program at $binary; build it first" >&2; exit 1; }
command -v hyperfine >/dev/null || { echo "hyperfine is not installed" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
printf 'quit\n' >"$work/input"

# A prepared prefix: made by one run, then TSP put where it is installed.
export TAMVEL_PREFIX="$work/prepared"
"$binary" --console <"$work/input" >/dev/null
mkdir -p "$TAMVEL_PREFIX/drive_c/Program Files (x86)/TSP 5.1"
printf 'tsp' >"$TAMVEL_PREFIX/drive_c/Program Files (x86)/TSP 5.1/tsp.exe"

# The shell only feeds the input; hyperfine subtracts its start-up time.
hyperfine --warmup 3 --runs 50 --shell "bash --norc" --prepare "rm -rf '$work/fresh'" \
    --command-name "fresh prefix" \
    "TAMVEL_PREFIX='$work/fresh' '$binary' --console <'$work/input'" \
    --command-name "prepared prefix" \
    "TAMVEL_PREFIX='$work/prepared' '$binary' --console <'$work/input'"
