# An editor never writes over a layer file it did not read, nor over one
# changed on disk since it read it. A world of another size written while
# the game runs is refused (one line says why) and left as it is; so is a
# named pipe in a layer's place, and nothing hangs. A layer replaced after
# the editor opened survives Esc: the panel asks, and D keeps the file.
. "$E2E_DIR/lib.sh"
. "$E2E_DIR/editor_lib.sh"
start_x
make_run_dir
keep_layers before
start_game

for f in map.map obj.map mob.map; do "$MAKE_LAYER" "$RUN_DIR/$f" 100 180 0; done
keep_layers resized
open_editor o
point_at 56 200
click 1
leave_editor
game_running || fail "the game ended after the object editor refused a resized obj.map"
grep -q "^obj.map: not reloaded (100x180 tiles, but map.map is 128x200); the editor leaves the file as it is$" \
    "$ARTIFACTS/stderr.log" || fail "no line about the refused obj.map: $(cat "$ARTIFACTS/stderr.log")"
same_file resized obj.map

rm "$RUN_DIR/map.map" && mkfifo "$RUN_DIR/map.map"
open_editor e
leave_editor
game_running || fail "the game ended after the terrain editor met a named pipe"
grep -q "^map.map: not reloaded (is a named pipe, not a file)" "$ARTIFACTS/stderr.log" \
    || fail "no line about the pipe on reload: $(cat "$ARTIFACTS/stderr.log")"
[ -p "$RUN_DIR/map.map" ] || fail "the pipe was replaced"
[ "$(grep -c . "$ARTIFACTS/stderr.log")" -eq 2 ] || fail "expected two lines: $(cat "$ARTIFACTS/stderr.log")"

rm "$RUN_DIR/map.map" && cp "$ARTIFACTS/files-before"/* "$RUN_DIR/"
open_editor e
hold l 0.2
point_at 56 200
click 1
shot editing
"$MAKE_LAYER" "$RUN_DIR/map.map" 128 200 72
keep_layers replaced
hold Escape 0.3
shot asked
same_file replaced map.map
other_region editing 240 0 asked 240 0 80 240 "the panel asks nothing"
hold d 0.3
sleep 0.3
game_running || fail "the game ended after keeping the file"
same_file replaced map.map
quit_with_esc
pass "a resized world, a pipe and a layer replaced while editing all stayed as they were on disk"
