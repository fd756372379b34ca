# A live run recorded with --record (take the bomb bag, shoot, bomb a cracked
# wall, walk through the exit behind it, Esc) replays headless to exactly the
# live run's end line, and a second replay gives the same output; watched in
# the window it ends the same, and Esc stops it early.
. "$E2E_DIR/lib.sh"
start_x
play_world bomb
make_run_dir "$WORLD"
start_game --record run.rec

hold Right 1.5  # the bag is taken on the way; the cracked wall stops the figure
hold Alt 0.3    # shots at the wall
hold space 0.3  # a bomb
sleep 2.5       # its fuse and blast
hold Right 2.5  # through the opening and the exit into the next room
quit_with_esc

rec="$RUN_DIR/run.rec"
[ -s "$rec" ] || fail "no recording written"
cp "$rec" "$ARTIFACTS/run.rec"
trailer=$(tail -n 1 "$rec")
case "$trailer" in
    "end=esc "*" bombs=4 "*" view=81,"*) ;;
    *) fail "the recording's end line [$trailer] is not an Esc after one bomb in the next room" ;;
esac
grep -qx 'S' "$rec" || fail "no frame with Space alone in the recording"
grep -qx 'A' "$rec" || fail "no frame with Alt alone in the recording"

# replay N: the headless replay's standard output into replay-N.log; its status.
replay() {
    (cd "$RUN_DIR" && "$LAMPLIGHT" --replay run.rec --headless > "$ARTIFACTS/replay-$1.log" 2> "$ARTIFACTS/replay-$1.err")
}
replay 1 || fail "the replay did not end as the live run: $(cat "$ARTIFACTS/replay-1.err")"
[ "$(tail -n 1 "$ARTIFACTS/replay-1.log")" = "$trailer" ] || fail "the replay printed [$(tail -n 1 "$ARTIFACTS/replay-1.log")], the live run ended [$trailer]"
replay 2 || fail "the second replay failed: $(cat "$ARTIFACTS/replay-2.err")"
cmp -s "$ARTIFACTS/replay-1.log" "$ARTIFACTS/replay-2.log" || fail "two replays printed different output"
# An end line that cannot be written is no success.
(cd "$RUN_DIR" && "$LAMPLIGHT" --replay run.rec --headless > /dev/full 2> "$ARTIFACTS/replay-full.err") \
    && fail "a replay whose end line went to a full disk ended with 0"
grep -q "the end line could not be written" "$ARTIFACTS/replay-full.err" || fail "no line for the lost end line"

# Watched in the window at the game's pace: the same end line on standard output.
start_game --replay run.rec
wait_game_end 20
[ "$GAME_STATUS" = 0 ] || fail "the watched replay ended with status $GAME_STATUS"
[ "$(tail -n 1 "$ARTIFACTS/stdout.log")" = "$trailer" ] || fail "the watched replay printed [$(tail -n 1 "$ARTIFACTS/stdout.log")]"
# Esc stops a watched replay early.
start_game --replay run.rec
sleep 1
quit_with_esc
early=$(tail -n 1 "$ARTIFACTS/stdout.log")
frames=$(echo "$early" | sed -n 's/^end=esc frames=\([0-9]*\) .*/\1/p')
[ -n "$frames" ] && [ "$frames" -lt 100 ] || fail "Esc did not stop the watched replay early: [$early]"
pass "live run [$trailer] replayed exactly, twice headless and once watched; Esc stopped a replay at frame $frames"
