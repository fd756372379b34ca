# The goal: walking over the goal object (2) ends the game by itself, with
# status 0, without Esc. With --summary the run's figures are shown first,
# until a key is pressed.
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

start_game --summary
hold Right 1
sleep 0.5
game_running || fail "with --summary the game ended before its figures were seen"
shot summary
# The figures are drawn in white over a black field.
n=$(count_colour summary 0 0 240 240 255,255,255)
[ "$n" -gt 200 ] || fail "no figures on the field ($n white pixels)"
hold space 0.2
wait_game_end 5
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after the figures, expected 0"
pass "taking the goal ended the game with status 0; with --summary after its figures and a key"
