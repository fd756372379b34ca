#!/bin/sh
# fuzz_layers.sh [SECONDS] -- builds the fuzz targets over the game's readers of
# outside bytes (layer files, datafiles, the music's patch set, recordings)
# with clang's libFuzzer and AddressSanitizer and runs each for a bounded time
# (default 30 s) over its kept corpus. Crashes it finds land in $OUT/crashes/;
# once fixed, move each into tests/fuzz/corpus-TARGET/ as a regression input.
set -e
cd "$(dirname "$0")/.."
SECONDS_TO_RUN="${1:-30}"
JOBS="${FUZZ_JOBS:-1}"
OUT="${FUZZ_BUILD:-build/fuzz}"
mkdir -p "$OUT/crashes" "$OUT/core"
OUT=$(cd "$OUT" && pwd) # absolute: a target may change its working folder
FLAGS="-std=c++17 -g -O1 -Iinclude $(pkg-config --cflags allegro)"

# The game's core, built once with AddressSanitizer (objects newer than their
# source and the headers are kept; those of sources gone are not used).
SOURCES=$(find src -name '*.cpp' ! -name main.cpp | sort)
objects() { for src in $SOURCES; do echo "$OUT/core/$(echo "$src" | tr / _).o"; done; }
NEWEST_HEADER=$(ls -t include/*.h | head -n1)
for src in $SOURCES; do
    obj="$OUT/core/$(echo "$src" | tr / _).o"
    [ "$obj" -nt "$src" ] && [ "$obj" -nt "$NEWEST_HEADER" ] || echo "$src $obj"
done | xargs -r -n 2 -P 2 sh -c "clang++ $FLAGS -fsanitize=fuzzer-no-link,address -c \"\$0\" -o \"\$1\""
rm -f "$OUT/core.a" && ar rcs "$OUT/core.a" $(objects)

# fuzz TARGET [OPTION...]: builds tests/fuzz/TARGET.cpp and runs it over tests/fuzz/corpus-TARGET.
fuzz() {
    target=$1; shift
    clang++ $FLAGS -fsanitize=fuzzer,address "tests/fuzz/$target.cpp" "$OUT/core.a" \
        $(pkg-config --libs allegro) -o "$OUT/$target"
    # The corpus is copied so that new inputs found do not pile up in the tree.
    rm -rf "$OUT/corpus-$target" && mkdir -p "$OUT/corpus-$target"
    cp tests/fuzz/corpus-$target/* "$OUT/corpus-$target/"
    ASAN_OPTIONS=detect_leaks=0 "$OUT/$target" -max_total_time="$SECONDS_TO_RUN" \
        -max_len=20000 -artifact_prefix="$OUT/crashes/" \
        $([ "$JOBS" -gt 1 ] && echo "-jobs=$JOBS -workers=$JOBS") "$@" "$OUT/corpus-$target"
}

fuzz fuzz_layer_file
fuzz fuzz_datafile
fuzz fuzz_patch_set
fuzz fuzz_recording -close_fd_mask=2 # its one line per refusal is not wanted here
