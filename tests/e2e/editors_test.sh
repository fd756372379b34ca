# The three editors in the real game, opened with both Control keys and E, O
# or M: each paints with the mouse, shows its own panel, and its Esc saves
# exactly the tiles painted, which the game then shows. In the terrain
# editor Backspace takes the last stroke back; Shift+Esc with Shift still
# held from a redo asks first, and D drops the stroke without writing. A
# named pipe put in a layer's place is neither read nor replaced.
. "$E2E_DIR/lib.sh"
. "$E2E_DIR/editor_lib.sh"
start_x
play_world editor
make_run_dir "$WORLD"
dump_layers before
start_game
shot game-before

# The view shows tiles (66, 151) .. (80, 165): tile (66 + c, 151 + r) is at
# play-field pixel (16c, 16r). Row 163: a wall at 67, floor at 69 and 70,
# low floor (52) at 71. A coin lies at (67, 162).
open_editor e
game_running || fail "the game ended when the editor opened"
hold l 0.2
point_at 56 200 # tile (69, 163): a wall
click 1
point_at 88 200 # tile (71, 163): floor
click 3
point_at 72 200 # tile (70, 163): a third stroke, taken back
click 1
shot terrain-editor
hold BackSpace 0.2
leave_editor

# The giant goes to (75, 152), pixel (144, 16), into a block of wall that
# holds it still (its box is 82 x 130); the editor's brush preview at (0, 0)
# lies over the same wall, so it shows the giant as the game must show it.
open_editor o
point_at 56 184 # tile (69, 162): a coin
click 1
shot object-editor
leave_editor
open_editor m
point_at 152 24 # tile (75, 152): a giant
click 1
shot monster-editor
leave_editor
game_running || fail "the game ended with an editor"
shot_game game-after

dump_layers after
expect_changes before after terrain.txt "69 163 . =
71 163 , ."
expect_changes before after objects.txt "69 162 . $"
expect_changes before after monsters.txt "75 152 . K"
# What the player sees: the painted wall like the wall at (67, 163), the
# painted floor like the floor at (70, 163), the coin like the one at (67,
# 162), the giant as the monster editor's preview drew it.
other_region game-before 48 192 game-before 16 192 16 16 "floor and wall"
same_region game-after 48 192 game-after 16 192 16 16 "the painted wall"
other_region game-before 80 192 game-before 64 192 16 16 "low floor and floor"
same_region game-after 80 192 game-after 64 192 16 16 "the painted floor"
same_region game-after 48 176 game-after 16 176 16 16 "the placed coin"
other_region game-before 144 16 monster-editor 0 0 82 130 "the wall and the giant"
same_region game-after 144 16 monster-editor 0 0 82 130 "the spawned giant"
same_region game-after 0 0 game-before 0 0 48 240 "the play field left of the edits"
# Each panel names its editor: the three differ from each other and from the game's.
for s in terrain-editor object-editor monster-editor; do
    [ "$(differing_pixels game-before 240 0 "$s" 240 0 80 240)" -gt 500 ] || fail "$s shows the game's panel"
done
[ "$(differing_pixels terrain-editor 240 0 object-editor 240 0 80 24)" -gt 20 ] || fail "one title for two editors"
[ "$(differing_pixels object-editor 240 0 monster-editor 240 0 80 24)" -gt 20 ] || fail "one title for two editors"

# A stroke, undone and redone, then Esc with Shift still held: the panel
# asks; D drops the stroke and writes nothing.
keep_layers after
before_time=$(stat -c %y "$RUN_DIR/map.map")
sleep 1.1 # a save now would change the file's time
open_editor e
point_at 104 200 # tile (72, 163)
click 1
hold BackSpace 0.2
xdotool keydown Shift_L
hold BackSpace 0.2 # redo, and Shift still held for Esc
hold Escape 0.3
xdotool keyup Shift_L
shot discard-asked
other_region terrain-editor 240 0 discard-asked 240 0 80 240 "Shift+Esc left without asking"
hold d 0.3
sleep 0.3
game_running || fail "Shift+Esc ended the game"
same_file after map.map
[ "$(stat -c %y "$RUN_DIR/map.map")" = "$before_time" ] || fail "map.map was written by Shift+Esc"

# A named pipe in map.map's place: the editor does not reload it, says so in
# one line, and its Esc leaves the pipe be; nothing hangs.
rm "$RUN_DIR/map.map" && mkfifo "$RUN_DIR/map.map"
open_editor e
leave_editor
game_running || fail "the game ended after the terrain editor met a named pipe"
[ "$(cat "$ARTIFACTS/stderr.log")" = "map.map: not reloaded (is a named pipe, not a file); the editor leaves the file as it is" ] \
    || fail "not one line about the pipe: $(cat "$ARTIFACTS/stderr.log")"
[ -p "$RUN_DIR/map.map" ] || fail "the pipe was replaced"
quit_with_esc
pass "each editor saved exactly its strokes (the undone one not), showed its panel, Shift+Esc asked before dropping, a pipe was left alone"
