# Without any X display the game says so in one line and ends with status 1.
. "$E2E_DIR/lib.sh"
mkdir -p "$ARTIFACTS"
make_run_dir
(cd "$RUN_DIR" && unset DISPLAY && exec timeout 20 "$LAMPLIGHT" > "$ARTIFACTS/stdout.log" 2> "$ARTIFACTS/stderr.log")
status=$?
[ "$status" -eq 1 ] || fail "exit status $status, expected 1"
[ "$(grep -c . "$ARTIFACTS/stderr.log")" -eq 1 ] || fail "expected one line: $(cat "$ARTIFACTS/stderr.log")"
grep -q '^lamplight: cannot start: ' "$ARTIFACTS/stderr.log" || fail "unexpected message: $(cat "$ARTIFACTS/stderr.log")"
pass "no display: $(cat "$ARTIFACTS/stderr.log")"
