#!/bin/sh
# fuzz_layers.sh [SECONDS] -- builds the layer-file fuzz target with clang's
# libFuzzer and AddressSanitizer and runs it for a bounded time (default 30 s)
# over the kept corpus. Crashes it finds land in $OUT/crashes/; once fixed,
# move each into tests/fuzz/corpus/ as a regression input.
set -e
cd "$(dirname "$0")/.."
SECONDS_TO_RUN="${1:-30}"
OUT="${FUZZ_BUILD:-build/fuzz}"
mkdir -p "$OUT/crashes"
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address -Iinclude \
    tests/fuzz/fuzz_layer_file.cpp src/world/layer_files.cpp \
    $(pkg-config --cflags --libs allegro) -o "$OUT/fuzz_layer_file"
# The corpus is copied so that new inputs found do not pile up in the tree.
rm -rf "$OUT/corpus" && mkdir -p "$OUT/corpus" && cp tests/fuzz/corpus/* "$OUT/corpus/"
ASAN_OPTIONS=detect_leaks=0 "$OUT/fuzz_layer_file" -max_total_time="$SECONDS_TO_RUN" \
    -max_len=20000 -artifact_prefix="$OUT/crashes/" "$OUT/corpus"
