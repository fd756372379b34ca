# A gamepad plays the real game: a preload library serves a scripted pad as
# /dev/input/js0. The stick walks right, A fires, Start and Back together end
# the game with status 0; the recording of the run shows what the frames'
# input steps saw, so the run replays without a pad. The same device named
# as an accelerometer (as many laptops show theirs) is no pad: it walks no one.
. "$E2E_DIR/lib.sh"
start_x
make_run_dir
cat > "$ARTIFACTS/pad.script" <<'SCRIPT'
1500 axis 0 32767
900 axis 0 0
300 button 0 1
600 button 0 0
400 button 6 1
0 button 7 1
SCRIPT
(cd "$RUN_DIR" && FAKE_JOYSTICK_SCRIPT="$ARTIFACTS/pad.script" LD_PRELOAD="$FAKE_JOYSTICK" \
    exec "$LAMPLIGHT" --record "$ARTIFACTS/pad.rec" > "$ARTIFACTS/stdout.log" 2> "$ARTIFACTS/stderr.log") &
GAME_PID=$!
wait_game_end 20
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS: $(cat "$ARTIFACTS/stderr.log")"
rec="$ARTIFACTS/pad.rec"
[ "$(grep -c '^R$' "$rec")" -ge 5 ] || fail "the stick walked no frames right: $(sort "$rec" | uniq -c)"
[ "$(grep -c '^A$' "$rec")" -ge 3 ] || fail "button A fired in no frame: $(sort "$rec" | uniq -c)"
tail -n 2 "$rec" | head -n 1 | grep -q '^X$' || fail "the last frame did not hold Esc: $(tail -n 3 "$rec")"
end=$(tail -n 1 "$rec")
case "$end" in end=esc*) ;; *) fail "the run did not end on Esc: $end" ;; esac
x=$(echo "$end" | sed 's/.* x=\([0-9-]*\) .*/\1/')
[ "$x" -gt 120 ] || fail "the player did not walk right: $end"
# The recording replays without a pad, to the same end.
(cd "$RUN_DIR" && "$LAMPLIGHT" --replay "$rec" --headless > "$ARTIFACTS/replay.log" 2>&1) \
    || fail "the pad's recording does not replay: $(cat "$ARTIFACTS/replay.log")"
# Named as an accelerometer: --controls says it is ignored, and in play it
# moves nothing (Esc from the keyboard ends the run).
export FAKE_JOYSTICK_NAME="ST LIS3LV02DL Accelerometer"
out=$(cd "$RUN_DIR" && FAKE_JOYSTICK_SCRIPT=/dev/null LD_PRELOAD="$FAKE_JOYSTICK" "$LAMPLIGHT" --controls)
echo "$out" | grep -qx '# ignored: /dev/input/js0 "ST LIS3LV02DL Accelerometer" (not a gamepad)' \
    && echo "$out" | grep -qx '# gamepad in use: none' || fail "--controls with an accelerometer: $out"
LAMPLIGHT_WRAPPER="env FAKE_JOYSTICK_SCRIPT=$ARTIFACTS/pad.script LD_PRELOAD=$FAKE_JOYSTICK" start_game --record tilt.rec
sleep 3.5
quit_with_esc
[ "$(grep -c '^[LRUDASCX]*$' "$RUN_DIR/tilt.rec")" -le 3 ] || fail "the accelerometer played: $(sort "$RUN_DIR/tilt.rec" | uniq -c)"
pass "the pad walked, fired and ended the game: $end"
