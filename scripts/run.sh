#!/usr/bin/env bash
# Builds Tamvel and starts it. Arguments go to the program (for example --console).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target tamvel
exec build/tamvel "$@"
