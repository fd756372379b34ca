# Bad options end the game with status 2 before anything opens: one line
# naming the option on standard error. A missing, damaged or unreadable
# recording to replay, and an output that would replace an input or wait on
# a pipe, end it with status 1 and one line, also before. --help prints the
# usage on standard output and ends with 0, also without a window.
. "$E2E_DIR/lib.sh"
start_x
make_run_dir

# run_options OPTION...: runs the game to its end; sets STATUS.
run_options() {
    (cd "$RUN_DIR" && exec timeout 10 "$LAMPLIGHT" "$@" > "$ARTIFACTS/stdout.log" 2> "$ARTIFACTS/stderr.log")
    STATUS=$?
    [ "$(xwininfo -root -children | grep -c '^ *0x')" = 0 ] || fail "$*: a window opened"
}

for bad in "--scale 0" "--scale x" "--bogus" "--scale" "--headless"; do
    run_options $bad
    [ "$STATUS" = 2 ] || fail "$bad: status $STATUS, expected 2"
    line=$(head -n1 "$ARTIFACTS/stderr.log")
    case "$line" in
        "lamplight: $bad"*) ;;
        *) fail "$bad: first line of standard error is [$line]" ;;
    esac
    [ "$(wc -l < "$ARTIFACTS/stderr.log")" = 1 ] || fail "$bad: more than one line on standard error"
    [ ! -s "$ARTIFACTS/stdout.log" ] || fail "$bad: standard output not empty"
done

# A recording to replay that is missing, damaged or no file: one line naming
# it, status 1, at once (timeout's 124 would be a hang).
printf 'lamplight-recording 7\n' > "$RUN_DIR/damaged.rec"
mkfifo "$RUN_DIR/pipe.rec"
for rec in missing.rec damaged.rec pipe.rec; do
    for headless in "" --headless; do
        run_options --replay $rec $headless
        [ "$STATUS" = 1 ] || fail "--replay $rec $headless: status $STATUS, expected 1"
        [ "$(wc -l < "$ARTIFACTS/stderr.log")" = 1 ] && grep -q "^$rec: " "$ARTIFACTS/stderr.log" \
            || fail "--replay $rec $headless: standard error is [$(cat "$ARTIFACTS/stderr.log")]"
    done
done

# Outputs that are inputs (also through a link) or pipes; a layer that is a
# pipe or a device while a recording is compared with it.
ln -s map.map "$RUN_DIR/link.bmp"
ln -s data.dat "$RUN_DIR/link.rec"
printf 'lamplight-recording 1\nlayer map.map 1 0\n' > "$RUN_DIR/header.rec"
sums=$(cd "$RUN_DIR" && cksum data.dat map.map)
expect_one_line() { # STATUS-EXPECTED FILE-NAMED OPTION...
    want=$1 named=$2; shift 2
    run_options "$@"
    [ "$STATUS" = "$want" ] || fail "$*: status $STATUS, expected $want"
    [ "$(wc -l < "$ARTIFACTS/stderr.log")" = 1 ] && grep -q "^$named: " "$ARTIFACTS/stderr.log" \
        || fail "$*: standard error is [$(cat "$ARTIFACTS/stderr.log")]"
}
expect_one_line 1 map.map --record map.map
expect_one_line 1 link.rec --record link.rec
expect_one_line 1 pipe.rec --record pipe.rec
expect_one_line 1 link.bmp --replay damaged.rec --headless --picture link.bmp
mkfifo "$RUN_DIR/pipe.bmp"
expect_one_line 1 pipe.bmp --replay damaged.rec --headless --picture pipe.bmp
[ "$(cd "$RUN_DIR" && cksum data.dat map.map)" = "$sums" ] || fail "an input file was changed"
mv "$RUN_DIR/map.map" "$RUN_DIR/map.keep"
for layer in fifo /dev/zero; do
    if [ "$layer" = fifo ]; then mkfifo "$RUN_DIR/map.map"; else ln -s /dev/zero "$RUN_DIR/map.map"; fi
    expect_one_line 1 header.rec --replay header.rec --headless
    rm "$RUN_DIR/map.map"
done
mv "$RUN_DIR/map.keep" "$RUN_DIR/map.map"

run_options --help
[ "$STATUS" = 0 ] || fail "--help: status $STATUS"
head -n1 "$ARTIFACTS/stdout.log" | grep -q '^usage: lamplight' || fail "--help: no usage on standard output"
grep -q -- '--scale N' "$ARTIFACTS/stdout.log" || fail "--help: the usage does not list --scale"
[ ! -s "$ARTIFACTS/stderr.log" ] || fail "--help: standard error not empty"
pass "bad options end with 2 and a named line, bad recordings and outputs with 1, --help with the usage and 0, no window"
