# A world whose start room is open to the layer's right and bottom edges:
# the game's room scan stops at the edge, so the game still draws, walks
# and ends on Esc with 0; the world tool's check names the open room.
. "$E2E_DIR/lib.sh"
. "$E2E_DIR/editor_lib.sh"
start_x
play_world open_room
make_run_dir "$WORLD"

"$WORLD_TOOL" -C "$RUN_DIR" check > "$ARTIFACTS/check.log" 2>&1
status=$?
[ "$status" -ne 0 ] || fail "check passed a world with an open room: $(cat "$ARTIFACTS/check.log")"
grep -q "room round (66, 151) is not closed" "$ARTIFACTS/check.log" \
    || fail "check does not name the open room: $(cat "$ARTIFACTS/check.log")"

start_game
game_running || fail "the game stopped in the open room"
shot standing
hold Right 0.5
shot walked
game_running || fail "the game stopped while walking"
[ "$(differing_pixels standing 0 0 walked 0 0 240 240)" -gt 100 ] \
    || fail "the play field did not change while walking right: no frames drawn"

started=$(date +%s%N)
hold Escape 0.3
wait_game_end 2
took=$(( ($(date +%s%N) - started) / 1000000 ))
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS, expected 0"
pass "open room: frames drawn, Esc answered in $took ms with 0; check says: $(grep 'not closed' "$ARTIFACTS/check.log")"
