# Every input file damaged in every way we can think of: the game ends with
# status 1 and one line on standard error naming the file; never a crash,
# never a hang (a bounded wait, and a kill for a game deaf to SIGTERM),
# never a window.
. "$E2E_DIR/lib.sh"
start_x
make_run_dir
PRISTINE="$ARTIFACTS/pristine"
rm -rf "$PRISTINE" && cp -r "$RUN_DIR" "$PRISTINE"
CASES=0

# expect_refused FILE CASE [WORDS]: runs the game on the damaged run folder;
# the one line must name FILE (and say WORDS, a grep pattern, when given).
expect_refused() {
    CASES=$((CASES + 1))
    set -- "$1" "$2" "${3:-.}"
    (cd "$RUN_DIR" && exec timeout -k 5 20 "$LAMPLIGHT" > "$ARTIFACTS/stdout.log" 2> "$ARTIFACTS/stderr.log")
    status=$?
    [ "$status" -eq 1 ] || fail "$1 $2: exit status $status, expected 1 ($(cat "$ARTIFACTS/stderr.log"))"
    [ "$(grep -c . "$ARTIFACTS/stderr.log")" -eq 1 ] || fail "$1 $2: expected one line: $(cat "$ARTIFACTS/stderr.log")"
    grep -q "^$1: " "$ARTIFACTS/stderr.log" || fail "$1 $2: message does not name the file: $(cat "$ARTIFACTS/stderr.log")"
    grep -q "$3" "$ARTIFACTS/stderr.log" || fail "$1 $2: the message does not say '$3': $(cat "$ARTIFACTS/stderr.log")"
    echo "$1 $2 -> $(cat "$ARTIFACTS/stderr.log")"
    rm -rf "$RUN_DIR"/* && cp "$PRISTINE"/* "$RUN_DIR/"
}

# The generic damages, for every file.
for f in data.dat guy.dat monster.dat map.map obj.map mob.map; do
    rm "$RUN_DIR/$f"; expect_refused "$f" missing
    : > "$RUN_DIR/$f"; expect_refused "$f" empty
    size=$(stat -c %s "$PRISTINE/$f")
    head -c $((size / 2)) "$PRISTINE/$f" > "$RUN_DIR/$f"; expect_refused "$f" "truncated to half"
    head -c $((size - 10)) "$PRISTINE/$f" > "$RUN_DIR/$f"; expect_refused "$f" "truncated by 10 bytes"
    LC_ALL=C awk -v seed="${#f}" 'BEGIN { srand(seed); for (i = 0; i < 5000; i++) printf "%c", int(rand() * 256) }' > "$RUN_DIR/$f"
    cp "$RUN_DIR/$f" "$ARTIFACTS/random-$f"
    expect_refused "$f" "random bytes"
    # Things that are not files, which must not block the game.
    rm "$RUN_DIR/$f"; mkfifo "$RUN_DIR/$f"; expect_refused "$f" "named pipe" "is a named pipe, not a file"
    rm "$RUN_DIR/$f"; mkdir "$RUN_DIR/$f"; expect_refused "$f" folder "is a folder, not a file"
    rm "$RUN_DIR/$f"; ln -s nowhere "$RUN_DIR/$f"; expect_refused "$f" "dangling link" "symbolic link to a file that does not exist"
    rm "$RUN_DIR/$f"; mkfifo "$RUN_DIR/pipe"; ln -s pipe "$RUN_DIR/$f"; expect_refused "$f" "link to a pipe" "named pipe"
    rm "$RUN_DIR/$f"; ln -s /dev/zero "$RUN_DIR/$f"; expect_refused "$f" "link to a device" "is a device, not a file"
done

# Datafiles that load but miss a used entry or hold the wrong type there.
"$DATAFILE_EDIT" "$PRISTINE/data.dat" "$RUN_DIR/data.dat" keep 60; expect_refused data.dat "60 entries"
"$DATAFILE_EDIT" "$PRISTINE/data.dat" "$RUN_DIR/data.dat" retype 9 DATA; expect_refused data.dat "entry 9 not a palette"
"$DATAFILE_EDIT" "$PRISTINE/data.dat" "$RUN_DIR/data.dat" retype 40 DATA; expect_refused data.dat "tile 26 not a bitmap"
"$DATAFILE_EDIT" "$PRISTINE/guy.dat" "$RUN_DIR/guy.dat" keep 16; expect_refused guy.dat "16 entries"
"$DATAFILE_EDIT" "$PRISTINE/guy.dat" "$RUN_DIR/guy.dat" retype 16 DATA; expect_refused guy.dat "frame 15 not a bitmap"
"$DATAFILE_EDIT" "$PRISTINE/monster.dat" "$RUN_DIR/monster.dat" keep 13; expect_refused monster.dat "13 entries"
"$DATAFILE_EDIT" "$PRISTINE/monster.dat" "$RUN_DIR/monster.dat" retype 0 DATA; expect_refused monster.dat "kind 1 not a bitmap"

# Entry types whose loaders would free the datafile twice: the unused entry 7
# and a monster retyped, and the smallest such file.
for t in "CMP " "XCMP" "RLE "; do
    "$DATAFILE_EDIT" "$PRISTINE/data.dat" "$RUN_DIR/data.dat" retype 7 "$t"
    expect_refused data.dat "entry 7 retyped $t" "entry 7 is .*sprite"
    "$DATAFILE_EDIT" "$PRISTINE/monster.dat" "$RUN_DIR/monster.dat" retype 0 "$t"
    expect_refused monster.dat "entry 0 retyped $t" "entry 0 is .*sprite"
done
printf 'slh.ALL.\000\000\000\001CMP \000\000\000\000\000\000\000\000' > "$RUN_DIR/data.dat"
expect_refused data.dat "24 bytes with a compiled sprite" "entry 0 is a compiled sprite"

# Layers of the wrong kind or size.
w=$(convert "PCX:$PRISTINE/map.map" -format '%w' info:); h=$(convert "PCX:$PRISTINE/map.map" -format '%h' info:)
[ -n "$w" ] && [ -n "$h" ] || fail "cannot measure map.map"
convert -size "${w}x${h}" xc:red -type TrueColor "PCX:$RUN_DIR/map.map"; expect_refused map.map "24-bit"
"$MAKE_LAYER" "$RUN_DIR/obj.map" $((w + 1)) "$h" 0; expect_refused obj.map "wider than map.map"
"$MAKE_LAYER" "$RUN_DIR/mob.map" "$w" $((h - 1)) 0; expect_refused mob.map "shorter than map.map"
"$MAKE_LAYER" "$RUN_DIR/map.map" 1 1 72; expect_refused map.map "1x1"
"$MAKE_LAYER" "$RUN_DIR/map.map" 5000 300 72; expect_refused map.map "5000 wide"
# A header that claims 65535 x 65535 tiles over a few bytes of data.
head -c 128 "$PRISTINE/map.map" > "$RUN_DIR/map.map"
printf '\377\377\377\377' | dd of="$RUN_DIR/map.map" bs=1 seek=8 conv=notrunc 2>/dev/null
head -c 2000 /dev/zero >> "$RUN_DIR/map.map"; expect_refused map.map "65535x65535 header"

pass "$CASES damaged inputs refused cleanly"
