#!/usr/bin/env bash
# Fuzzes the environment-file reader with libFuzzer and AddressSanitizer for $1 seconds
# (default 30), in its own clang build folder build-fuzz. Exits non-zero on a crash; the
# input that caused it is left in build-fuzz/ as crash-*.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
build=build-fuzz

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMVEL_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,fuzzer-no-link" >/dev/null
cmake --build "$build" --target environment_file_fuzzer

# Seeds: the example file, the three prefix sizes and the wide-string marker.
corpus="$build/fuzz-corpus"
mkdir -p "$corpus"
example='TspExe|C:\temp\Tsp.EXE;Editor|C:\WINDOWS\NOTEPAD.EXE;SaveFolder|A:\;TspFile|A:\test.tsp;'
printf '\x58%s' "$example" >"$corpus/example"
printf '\xff\x00\x01%0256d' 0 >"$corpus/three-byte-prefix"
printf '\xff\xff\xff\x03\x00\x00\x00a|b' >"$corpus/seven-byte-prefix"
printf '\xff\xfe\xff\x02a\x00b\x00' >"$corpus/wide-marker"
printf '\x10TspExe|\x95\x5c;E|\x83\x7c;' >"$corpus/japanese-trail-bytes"

"$build/tests/fuzz/environment_file_fuzzer" -max_total_time="$seconds" \
    -artifact_prefix="$build/" "$corpus"
