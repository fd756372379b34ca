# An editor never writes over a layer file it did not read, nor over one
# changed on disk since it read it. A world of another size written while
# the game runs is refused (one line says why) and left as it is; so is a
# named pipe in a layer's place, and nothing hangs. A layer another game
# saved after the editor opened survives Esc: the panel asks first.
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
dump_layers before

# A second game in the same folder, on a display of its own. Both open the
# terrain editor; the first paints (69, 163) and saves. The second paints
# (70, 163); its Esc asks, as map.map changed since it read it, and S saves
# its own edits over the first game's.
DISPLAY_A=$DISPLAY
Xvfb -displayfd 1 -noreset -screen 0 320x240x24 -nolisten tcp > "$ARTIFACTS/displayfd-b" 2>/dev/null &
XVFB_B=$!
trap 'kill $GAME_B 2>/dev/null; sleep 0.5; kill $XVFB_B; stop_all' EXIT
sleep 0.5
DISPLAY_B=":$(head -n1 "$ARTIFACTS/displayfd-b")"
(cd "$RUN_DIR" && DISPLAY=$DISPLAY_B exec "$LAMPLIGHT" > /dev/null 2> "$ARTIFACTS/stderr-b.log") &
GAME_B=$!
sleep 2
export DISPLAY=$DISPLAY_B
open_editor e
export DISPLAY=$DISPLAY_A
open_editor e
hold l 0.2
point_at 56 200
click 1
leave_editor
cmp -s "$ARTIFACTS/files-before/map.map" "$RUN_DIR/map.map" && fail "the first game did not save"
export DISPLAY=$DISPLAY_B
hold l 0.2
point_at 72 200
click 1
keep_layers first-saved
hold Escape 0.3
same_file first-saved map.map
shot second-asks
hold s 0.3
sleep 0.3
dump_layers after
expect_changes before after terrain.txt "70 163 72 30"
kill -0 $GAME_B || fail "the second game ended"
export DISPLAY=$DISPLAY_A
game_running || fail "the first game ended"
! grep -q "not saved" "$ARTIFACTS/stderr.log" "$ARTIFACTS/stderr-b.log" || fail "a save failed: $(cat "$ARTIFACTS"/stderr*.log)"
quit_with_esc
pass "a resized world, a pipe and a layer saved by another game while editing survived Esc"
