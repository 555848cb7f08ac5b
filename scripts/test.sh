#!/usr/bin/env bash
# Builds Tamvel with warnings as errors and runs every test; GUI tests run under Xvfb.
# With CI=true it also fuzzes the environment-file reader and the TSP engine's parser, 30 seconds
# each.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMVEL_WERROR=ON >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure --timeout 300
if [ "${CI:-}" = "true" ] && [ -x scripts/fuzz.sh ]; then
    scripts/fuzz.sh 30
fi
