# A run folder without data.dat: status 1, one line naming the file, no window.
. "$E2E_DIR/lib.sh"
start_x
make_run_dir
rm "$RUN_DIR/data.dat"
(cd "$RUN_DIR" && exec "$LAMPLIGHT" > "$ARTIFACTS/stdout.log" 2> "$ARTIFACTS/stderr.log")
status=$?
[ "$status" -eq 1 ] || fail "exit status $status, expected 1"
grep -q '^data.dat: ' "$ARTIFACTS/stderr.log" || fail "no message naming data.dat: $(cat "$ARTIFACTS/stderr.log")"
[ "$(grep -c . "$ARTIFACTS/stderr.log")" -eq 1 ] || fail "expected one line: $(cat "$ARTIFACTS/stderr.log")"
[ "$(xwininfo -root -children | grep -c '^ *0x')" -eq 0 ] || fail "a window was opened"
pass "missing data.dat refused with status 1"
