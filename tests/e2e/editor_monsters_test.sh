# The monster editor: opened with both Control keys and M, a left click places
# the first brush, the giant (kind 1); Esc saves "mob.map" changed at that
# tile only, and the very next frames of the game show the giant there.
. "$E2E_DIR/lib.sh"
. "$E2E_DIR/editor_lib.sh"
editor_story_start

# The view shows tiles (66, 151) .. (80, 165): tile (66 + c, 151 + r) is at
# play-field pixel (16c, 16r). The giant goes to (75, 152), pixel (144, 16),
# into a block of wall that holds it still (its box is 82 x 130) and keeps it
# away from the player. The editor's brush preview at (0, 0) lies over the
# same wall, so it shows the giant as the game must show it.
open_editor m
game_running || fail "the game ended when the editor opened"
point_at 152 24 # tile (75, 152)
click 1
shot editor
leave_editor
game_running || fail "the game ended with the editor"
shot_game game-after

dump_layers after
expect_changes before after monsters.txt "75 152 0 1"
same_file before map.map
same_file before obj.map

other_region game-before 144 16 editor 0 0 82 130 "the wall and the giant"
same_region game-after 144 16 editor 0 0 82 130 "the spawned giant"
# The rest of the play field is as before.
same_region game-after 0 0 game-before 0 0 144 240 "the play field left of the giant"
same_region game-after 0 146 game-before 0 146 240 94 "the play field below the giant"

sleep 0.5
game_running || fail "the game stopped after the editor"
quit_with_esc
pass "giant placed at (75, 152) only, saved, shown at once, game ended with 0"
