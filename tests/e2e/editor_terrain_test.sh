# The terrain editor: opened with both Control keys and E, L picks the wall
# (30), a left click paints it and a right click paints floor (72); Esc saves
# "map.map" changed at those two tiles only, and the game goes on with them.
. "$E2E_DIR/lib.sh"
. "$E2E_DIR/editor_lib.sh"
editor_story_start

# The view shows tiles (66, 151) .. (80, 165): tile (66 + c, 151 + r) is at
# play-field pixel (16c, 16r). Row 163: a wall at 67, floor at 69 and 70,
# low floor (52) at 71.
open_editor e
game_running || fail "the game ended when the editor opened"
hold l 0.2
point_at 56 200 # tile (69, 163)
click 1
point_at 88 200 # tile (71, 163)
click 3
shot editor
leave_editor
game_running || fail "the game ended with the editor"
shot_game game-after

dump_layers after
expect_changes before after terrain.txt "69 163 72 30
71 163 52 72"
same_file before obj.map
same_file before mob.map

# What the player sees: the painted wall looks like the wall at (67, 163),
# the painted floor like the floor at (70, 163).
other_region game-before 48 192 game-before 16 192 16 16 "floor and wall"
same_region game-after 48 192 game-after 16 192 16 16 "the painted wall"
other_region game-before 80 192 game-before 64 192 16 16 "low floor and floor"
same_region game-after 80 192 game-after 64 192 16 16 "the painted floor"

sleep 0.5
game_running || fail "the game stopped after the editor"
quit_with_esc
pass "terrain painted at (69, 163) and (71, 163) only, saved, game went on and ended with 0"
