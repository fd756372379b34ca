# The goal: walking over the goal object (2) ends the game by itself, with
# status 0, without Esc.
. "$E2E_DIR/lib.sh"
start_x
play_world goal
render_world "$WORLD" art
make_run_dir "$WORLD"
start_game
shot goal-in-sight
n=$(view_differs goal-in-sight art 66 151 120,160,143,191)
[ "$n" -eq 0 ] || fail "$n pixels of the field differ from the room's art (the goal in it)"
sleep 1
game_running || fail "the game ended before the goal was taken"

hold Right 1
wait_game_end 5
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after taking the goal, expected 0"
pass "taking the goal ended the game with status 0"
