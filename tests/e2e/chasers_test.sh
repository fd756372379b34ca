# Standing among chasers: the ones along the walls close in on the figure
# (fewer monster pixels far from it, and nearer on average, than at the
# start), and the ones on top of it wear the hit points down until the game
# ends by itself with status 0.
. "$E2E_DIR/lib.sh"
start_x
play_world chasers
START="$WORLD"
world_variant empty monsters.txt 's/././g'
render_world "$START" art-start
render_world "$ARTIFACTS/world-empty" art-empty

# The figure's body centre at the start: (120 + 12, 160 + 16); the room fills
# the view, which stays at (66, 151).
CX=132 CY=176
FAR="(x - $CX) * (x - $CX) + (y - $CY) * (y - $CY) > 90 * 90"
rx=$(((66 - RENDER_TX) * 16)) ry=$(((151 - RENDER_TY) * 16))
difference_mask art-start "$rx" "$ry" art-empty "$rx" "$ry" 240 240 monsters-start
far_start=$(count_pixels monsters-start 0 0 240 240 "r > 128 && $FAR")
mean_start=$(mean_distance monsters-start $CX $CY)

make_run_dir "$START"
start_game
sleep 2.5
game_running || fail "the game ended within 3 s: the hit points ran out too fast"
shot chasers-closing-in
difference_mask chasers-closing-in 0 0 art-empty "$rx" "$ry" 240 240 monsters-later
far_later=$(count_pixels monsters-later 0 0 240 240 "r > 128 && $FAR")
mean_later=$(mean_distance monsters-later $CX $CY)
echo "monster pixels more than 90 px from the figure: $far_start at the start, $far_later after 3 s"
echo "mean distance of monster pixels from the figure: $mean_start at the start, $mean_later after 3 s"
[ "$far_start" -gt 2000 ] || fail "the test world has too few chasers far from the figure ($far_start pixels)"
[ "$far_later" -lt $((far_start / 2)) ] || fail "the chasers did not close in: $far_later far pixels, $far_start at the start"
[ "$mean_later" -ge 0 ] && [ "$mean_later" -lt $((mean_start * 3 / 4)) ] \
    || fail "the chasers are not nearer: mean distance $mean_later, $mean_start at the start"

# Nothing is pressed: the hit points run out and the game ends by itself.
wait_game_end 25
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after the hit points ran out, expected 0"
pass "the chasers closed in (far pixels $far_start -> $far_later) and wore the hit points down; status 0"
