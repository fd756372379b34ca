# The terrain editor at --scale 3: a click paints exactly the tile drawn
# under the pointer, also on the last screen pixel of a tile; the object
# editor shows the library's pointer under the real one.
. "$E2E_DIR/lib.sh"
. "$E2E_DIR/editor_lib.sh"
start_x 1024x768
play_world editor
make_run_dir "$WORLD"
dump_layers before
start_game --scale 3
xdotool mousemove 500 300 # keyboard focus follows the pointer
sleep 0.5
shot game-before

# As in the terrain story: tile (66 + c, 151 + r) is drawn at frame pixels
# 16c..16c+15 x 16r..16r+15, on the screen three times that. Row 163: a wall
# at 67, floor at 69, low floor (52) at 71.
open_editor e
game_running || fail "the game ended when the editor opened"
hold l 0.2
point_at 169 601 # frame (56, 200): the middle of tile (69, 163)
click 1
point_at 287 576 # frame (95, 192): the top right pixel of tile (71, 163)
click 3
shot editor
leave_editor
game_running || fail "the game ended with the editor"
xdotool mousemove 500 300
sleep 0.5
shot game-after

# The object editor's library pointer is drawn where the real pointer is:
# its arrow appears at screen (600, 400), not at the frame pixel (200, 133)
# that position maps to.
open_editor o
point_at 600 400
shot pointer-here
point_at 300 200
shot pointer-away
leave_editor
xdotool mousemove 500 300
n=$(differing_pixels pointer-here 600 400 pointer-away 600 400 10 16)
[ "$n" -gt 20 ] || fail "no library pointer at the real pointer (600, 400): $n pixels changed there"
n=$(differing_pixels pointer-here 190 125 pointer-away 190 125 30 30)
[ "$n" = 0 ] || fail "$n pixels changed round frame position (200, 133): a pointer drawn in frame coordinates?"
quit_with_esc

dump_layers after
expect_changes before after terrain.txt "69 163 72 30
71 163 52 72"
# What the player sees, in 48x48 blocks: the painted wall like the wall at
# (67, 163), the painted floor like the floor at (70, 163).
other_region game-before 144 576 game-before 48 576 48 48 "floor and wall"
same_region game-after 144 576 game-after 48 576 48 48 "the painted wall"
other_region game-before 240 576 game-before 192 576 48 48 "low floor and floor"
same_region game-after 240 576 game-after 192 576 48 48 "the painted floor"
pass "at --scale 3 the clicks painted tiles (69, 163) and (71, 163), the tiles under the pointer; the library pointer sits under the real one"
