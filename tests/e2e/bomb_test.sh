# Bombs: the figure takes a bomb bag on its way right and is stopped by a
# cracked wall; a bomb dropped there (Space) blasts the three cracked tiles
# next to it into floor, and the figure walks through the opening to the exit
# behind the wall and into the next room.
. "$E2E_DIR/lib.sh"
start_x
play_world bomb
world_variant bag-taken objects.txt 's/B/./g'
render_world "$ARTIFACTS/world-bag-taken" art-bag-taken
# The blast: the bomb lies at (156 + 4, 160 + 16), so the tile under its
# centre is column 10, row 11 of the room, and the cracked tiles of the 3 x 3
# block round it are column 11, rows 10 to 12 (the source's rows 11 to 13).
world_variant blasted terrain.txt '11,13 s/^\(...........\)%/\1_/' "$ARTIFACTS/world-bag-taken"
render_world "$ARTIFACTS/world-blasted" art-blasted
make_run_dir "$WORLD"
start_game
FIGURE=156,160,179,191
shot start
# (the panel's "BOMBS:" counter is the line at y = 70)


hold Right 1.5
game_running || fail "the game ended while walking"
shot at-the-wall
n=$(view_differs at-the-wall art-bag-taken 66 151 $FIGURE)
[ "$n" -eq 0 ] || fail "$n pixels of the field differ from the room with the bag taken and the figure at the wall"
n=$(differing_pixels start 240 66 at-the-wall 240 66 80 14)
[ "$n" -gt 0 ] || fail "the bomb counter did not change when the bag was taken"

hold space 0.3
sleep 2.5
shot blasted
n=$(view_differs blasted art-blasted 66 151 $FIGURE)
[ "$n" -eq 0 ] || fail "$n pixels of the field differ from the room with the three cracked tiles blasted"
n=$(differing_pixels at-the-wall 240 66 blasted 240 66 80 14)
[ "$n" -gt 0 ] || fail "the bomb counter did not change when the bomb was dropped"

hold Right 2.5
game_running || fail "the game ended while walking"
shot next-room
n=$(view_differs next-room art-blasted 81 151 0,150,239,199)
[ "$n" -eq 0 ] || fail "$n pixels of the field differ from the next room's art: the figure did not get through"
quit_with_esc
pass "bombed the cracked wall open and walked through into the next room"
