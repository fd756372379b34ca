# Bad options end the game with status 2 before anything opens: one line
# naming the option, then the usage, on standard error. A missing or damaged
# recording to replay ends it with status 1 and one line, also before. --help prints the
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
    sed -n 2p "$ARTIFACTS/stderr.log" | grep -q '^usage: lamplight' || fail "$bad: no usage after the line"
    [ ! -s "$ARTIFACTS/stdout.log" ] || fail "$bad: standard output not empty"
done

# A recording to replay that is missing or damaged: one line naming it, status 1.
printf 'lamplight-recording 7\n' > "$RUN_DIR/damaged.rec"
for rec in missing.rec damaged.rec; do
    for headless in "" --headless; do
        run_options --replay $rec $headless
        [ "$STATUS" = 1 ] || fail "--replay $rec $headless: status $STATUS, expected 1"
        [ "$(wc -l < "$ARTIFACTS/stderr.log")" = 1 ] && grep -q "^$rec: " "$ARTIFACTS/stderr.log" \
            || fail "--replay $rec $headless: standard error is [$(cat "$ARTIFACTS/stderr.log")]"
    done
done

run_options --help
[ "$STATUS" = 0 ] || fail "--help: status $STATUS"
head -n1 "$ARTIFACTS/stdout.log" | grep -q '^usage: lamplight' || fail "--help: no usage on standard output"
grep -q -- '--scale N' "$ARTIFACTS/stdout.log" || fail "--help: the usage does not list --scale"
[ ! -s "$ARTIFACTS/stderr.log" ] || fail "--help: standard error not empty"
pass "bad options end with 2 and a named line, bad recordings with 1, --help with the usage and 0, no window"
