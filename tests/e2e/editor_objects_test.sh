# The object editor: opened with both Control keys and O, a left click places
# the first brush, the coin (1); Esc saves "obj.map" changed at that tile
# only, and the game goes on with the coin in its room.
. "$E2E_DIR/lib.sh"
. "$E2E_DIR/editor_lib.sh"
editor_story_start

# The view shows tiles (66, 151) .. (80, 165): tile (66 + c, 151 + r) is at
# play-field pixel (16c, 16r). A coin lies at (67, 162); (69, 162) is bare floor.
open_editor o
game_running || fail "the game ended when the editor opened"
point_at 56 184 # tile (69, 162)
click 1
shot editor
leave_editor
game_running || fail "the game ended with the editor"
shot_game game-after

dump_layers after
expect_changes before after objects.txt "69 162 0 1"
same_file before map.map
same_file before mob.map

# What the player sees: the placed coin looks like the coin at (67, 162).
other_region game-before 48 176 game-before 16 176 16 16 "floor and coin"
same_region game-after 48 176 game-after 16 176 16 16 "the placed coin"

sleep 0.5
game_running || fail "the game stopped after the editor"
quit_with_esc
pass "coin placed at (69, 162) only, saved, game went on and ended with 0"
