# An editor reload follows the rules of start-up: a layer file the game would
# refuse (1x1, or a named pipe in its place) is not taken; one line says why,
# the editor works on the layer in memory, and its save puts that layer back
# (or, into a pipe, refuses to write). The game goes on, nothing hangs, and
# the next start finds a world it accepts.
. "$E2E_DIR/lib.sh"
. "$E2E_DIR/editor_lib.sh"
start_x
make_run_dir
keep_layers before
start_game

"$MAKE_LAYER" "$RUN_DIR/obj.map" 1 1 0
open_editor o
leave_editor
game_running || fail "the game ended after the object editor refused a 1x1 obj.map"
grep -q "^obj.map: not reloaded (1x1 tiles is too small for the start view" "$ARTIFACTS/stderr.log" \
    || fail "no line about the refused obj.map: $(cat "$ARTIFACTS/stderr.log")"
same_file before obj.map # the world in memory, saved back

rm "$RUN_DIR/map.map" && mkfifo "$RUN_DIR/map.map"
open_editor e
leave_editor
game_running || fail "the game ended after the terrain editor met a named pipe"
grep -q "^map.map: not reloaded (is a named pipe, not a file)" "$ARTIFACTS/stderr.log" \
    || fail "no line about the pipe on reload: $(cat "$ARTIFACTS/stderr.log")"
grep -q "^map.map: not saved: it is not a regular file; nothing was written" "$ARTIFACTS/stderr.log" \
    || fail "no line about the pipe on save: $(cat "$ARTIFACTS/stderr.log")"
[ -p "$RUN_DIR/map.map" ] || fail "the pipe was replaced"
[ "$(grep -c . "$ARTIFACTS/stderr.log")" -eq 3 ] || fail "expected three lines: $(cat "$ARTIFACTS/stderr.log")"
quit_with_esc

rm "$RUN_DIR/map.map" && cp "$ARTIFACTS/files-before/map.map" "$RUN_DIR/"
start_game
quit_with_esc
pass "refused reloads kept the world in memory and on disk"
