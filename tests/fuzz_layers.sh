#!/bin/sh
# fuzz_layers.sh [SECONDS] -- builds the fuzz targets over the layer-file and
# datafile checks with clang's libFuzzer and AddressSanitizer and runs each for
# a bounded time (default 30 s) over its kept corpus. Crashes it finds land in $OUT/crashes/; once fixed,
# move each into tests/fuzz/corpus-TARGET/ as a regression input.
set -e
cd "$(dirname "$0")/.."
SECONDS_TO_RUN="${1:-30}"
JOBS="${FUZZ_JOBS:-1}"
OUT="${FUZZ_BUILD:-build/fuzz}"
mkdir -p "$OUT/crashes"
# fuzz TARGET SOURCES...: builds one target and runs it over tests/fuzz/corpus-TARGET.
fuzz() {
    target=$1; shift
    clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address -Iinclude "$@" \
        $(pkg-config --cflags --libs allegro) -o "$OUT/$target"
    # The corpus is copied so that new inputs found do not pile up in the tree.
    rm -rf "$OUT/corpus-$target" && mkdir -p "$OUT/corpus-$target"
    cp tests/fuzz/corpus-$target/* "$OUT/corpus-$target/"
    ASAN_OPTIONS=detect_leaks=0 "$OUT/$target" -max_total_time="$SECONDS_TO_RUN" \
        -max_len=20000 -artifact_prefix="$OUT/crashes/" \
        $([ "$JOBS" -gt 1 ] && echo "-jobs=$JOBS -workers=$JOBS") "$OUT/corpus-$target"
}

FILES="src/files/input_files.cpp src/files/atomic_save.cpp"
fuzz fuzz_layer_file tests/fuzz/fuzz_layer_file.cpp src/world/layer_files.cpp $FILES
fuzz fuzz_datafile tests/fuzz/fuzz_datafile.cpp src/assets/datafile_check.cpp $FILES
