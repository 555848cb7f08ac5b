#!/usr/bin/env bash
# Fuzzes the environment-file reader, then the TSP engine's parser, with libFuzzer and
# AddressSanitizer for $1 seconds each (default 30), in its own clang build folder
# build-fuzz. Exits non-zero on a crash; the input that caused it is left in build-fuzz/ as
# crash-*.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
build=build-fuzz

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMVEL_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,fuzzer-no-link" >/dev/null
cmake --build "$build" --target environment_file_fuzzer tsp_parser_fuzzer

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

# Seeds for the parser: a program as the new-program form writes it, with its data section,
# and the expression language.
tspCorpus="$build/tsp-fuzz-corpus"
mkdir -p "$tspCorpus"
printf 'OPTIONS CRT;\r\nFREQ Q;\r\nSMPL 1975:1 2003:4;\r\nREAD;\r\nOLSQ      C READ;\r\nEND;\r\n\r\nSMPL 1 8;\r\nREAD  Y   X1;\r\n      100 101\r\n      . -2.5E3;\r\nEND;\r\n' >"$tspCorpus/form"
printf "FREQ(PANEL,ID=CD); READ(FILE='fin.csv') CD Y  SALES; PANEL Y SALES; ? comment\n" >"$tspCorpus/panel"
printf 'Y = -X(-1)**2 / (LOG(Z) + 1) .GE. 3 & ABS(X(+1)) <> 2; GENR W = SQRT(EXP(1));\n' >"$tspCorpus/expression"
printf "READ(FILE='\x83\x66\x81\x5B\x83\x5E.csv') X; 'open\n" >"$tspCorpus/japanese"

"$build/tests/fuzz/tsp_parser_fuzzer" -max_total_time="$seconds" -max_len=4096 \
    -artifact_prefix="$build/" "$tspCorpus"
