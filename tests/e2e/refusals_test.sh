# What the real binary refuses before anything opens, each with one line on
# standard error naming the file or option, never a window, never a hang (a
# bounded wait; timeout's 124 would be one): every input file missing or a
# named pipe, the other kinds of damage for one datafile and one layer, a
# key bound twice in controls.cfg, bad options (status 2), bad recordings
# and outputs that would replace an input or wait on a pipe (status 1), and
# no display at all. The checks behind
# each refusal are tested headless; this shows they are wired in.
. "$E2E_DIR/lib.sh"
start_x
make_run_dir
PRISTINE="$ARTIFACTS/pristine"
rm -rf "$PRISTINE" && cp -r "$RUN_DIR" "$PRISTINE"
CASES=0

# refused STATUS NAMED [WORDS] -- OPTION...: runs the game in the run folder;
# it must end with STATUS, one line naming NAMED (and saying WORDS, a grep
# pattern), no window. The run folder is then put back.
refused() {
    local want=$1 named=$2 words=$3 status
    shift 4
    CASES=$((CASES + 1))
    (cd "$RUN_DIR" && exec timeout -k 5 20 "$LAMPLIGHT" "$@" > "$ARTIFACTS/stdout.log" 2> "$ARTIFACTS/stderr.log")
    status=$?
    [ "$status" -eq "$want" ] || fail "$named $*: exit status $status, expected $want ($(cat "$ARTIFACTS/stderr.log"))"
    [ "$(grep -c . "$ARTIFACTS/stderr.log")" -eq 1 ] || fail "$named $*: expected one line: $(cat "$ARTIFACTS/stderr.log")"
    grep -q "^$named: .*$words" "$ARTIFACTS/stderr.log" || fail "$named $*: the line is [$(cat "$ARTIFACTS/stderr.log")]"
    [ "$(xwininfo -root -children | grep -c '^ *0x')" -eq 0 ] || fail "$named $*: a window opened"
    rm -rf "$RUN_DIR"/* && cp -a "$PRISTINE"/* "$RUN_DIR/"
}

for f in data.dat guy.dat monster.dat map.map obj.map mob.map; do
    rm "$RUN_DIR/$f"; refused 1 "$f" "file not found" --
    rm "$RUN_DIR/$f"; mkfifo "$RUN_DIR/$f"; refused 1 "$f" "is a named pipe, not a file" --
done
for f in data.dat map.map; do
    size=$(stat -c %s "$PRISTINE/$f")
    : > "$RUN_DIR/$f"; refused 1 "$f" "" --
    head -c $((size / 2)) "$PRISTINE/$f" > "$RUN_DIR/$f"; refused 1 "$f" "" --
    LC_ALL=C awk 'BEGIN { srand(7); for (i = 0; i < 5000; i++) printf "%c", int(rand() * 256) }' > "$RUN_DIR/$f"
    refused 1 "$f" "" --
    rm "$RUN_DIR/$f"; mkdir "$RUN_DIR/$f"; refused 1 "$f" "is a folder, not a file" --
    rm "$RUN_DIR/$f"; ln -s /dev/zero "$RUN_DIR/$f"; refused 1 "$f" "is a device, not a file" --
done
# A whole datafile short of its last entry (dat keeps the order with -n0);
# map.map drawn twice as large as obj.map.
dat -n0 "$RUN_DIR/data.dat" -d OBJECTS_013 > /dev/null; refused 1 data.dat "entry 102 should be a bitmap" --
convert "pcx:$PRISTINE/map.map" -sample 200% "pcx:$RUN_DIR/obj.map"; refused 1 obj.map "256x400 tiles, but map.map is 128x200" --
printf '[keys]\nshoot = X\nbomb = X\n' > "$RUN_DIR/controls.cfg"
refused 1 controls.cfg "line 3: X is bound to both shoot and bomb$" --

# Options and recordings.
for bad in "--scale 0" "--bogus" "--scale" "--headless"; do
    refused 2 lamplight "$bad" -- $bad
done
printf 'lamplight-recording 7\n' > "$PRISTINE/damaged.rec"
mkfifo "$PRISTINE/pipe.rec"
printf 'lamplight-recording 1\nlayer map.map 1 0\n' > "$PRISTINE/header.rec"
ln -s map.map "$PRISTINE/link.bmp"
ln -s data.dat "$PRISTINE/link.rec"
mkfifo "$PRISTINE/pipe.bmp"
rm -rf "$RUN_DIR"/* && cp -a "$PRISTINE"/* "$RUN_DIR/"
for rec in missing.rec damaged.rec pipe.rec; do
    refused 1 "$rec" "" -- --replay "$rec"
    refused 1 "$rec" "" -- --replay "$rec" --headless
done
refused 1 map.map "which the game reads" -- --record map.map
refused 1 link.rec "is data.dat, which the game reads" -- --record link.rec
refused 1 pipe.rec "named pipe" -- --record pipe.rec
refused 1 link.bmp "is map.map, which the game reads" -- --replay damaged.rec --headless --picture link.bmp
refused 1 pipe.bmp "named pipe" -- --replay damaged.rec --headless --picture pipe.bmp
# A layer that is a pipe or a device while a recording is compared with it.
rm "$RUN_DIR/map.map"; mkfifo "$RUN_DIR/map.map"; refused 1 header.rec "named pipe" -- --replay header.rec --headless
rm "$RUN_DIR/map.map"; ln -s /dev/zero "$RUN_DIR/map.map"; refused 1 header.rec "device" -- --replay header.rec --headless
cmp -s "$PRISTINE/map.map" "$RUN_DIR/map.map" && cmp -s "$PRISTINE/data.dat" "$RUN_DIR/data.dat" \
    || fail "an input file was changed"

# --help: the usage on standard output, status 0, no window.
(cd "$RUN_DIR" && exec timeout 10 "$LAMPLIGHT" --help > "$ARTIFACTS/stdout.log" 2> "$ARTIFACTS/stderr.log") \
    || fail "--help did not end with 0"
head -n1 "$ARTIFACTS/stdout.log" | grep -q '^usage: lamplight' || fail "--help: no usage on standard output"
[ ! -s "$ARTIFACTS/stderr.log" ] || fail "--help: standard error not empty"

# No display at all.
(cd "$RUN_DIR" && unset DISPLAY && exec timeout 20 "$LAMPLIGHT" > "$ARTIFACTS/stdout.log" 2> "$ARTIFACTS/stderr.log")
status=$?
[ "$status" -eq 1 ] && [ "$(grep -c . "$ARTIFACTS/stderr.log")" -eq 1 ] && grep -q '^lamplight: cannot start: ' "$ARTIFACTS/stderr.log" \
    || fail "no display: status $status, [$(cat "$ARTIFACTS/stderr.log")]"
pass "$CASES refusals, each one line and no window; --help and no display as they should"
