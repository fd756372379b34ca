# Room exit: walking right into the exit in the start room's right wall
# brings the figure into the next room: the field then shows that room's art
# (view origin at its left wall, tile 81), the start room's no longer.
. "$E2E_DIR/lib.sh"
start_x
play_world exit
render_world "$WORLD" art
make_run_dir "$WORLD"
start_game

shot start-room
n=$(view_differs start-room art 66 151 120,160,143,191)
[ "$n" -eq 0 ] || fail "$n pixels of the field differ from the start room's art"

hold Right 3
game_running || fail "the game ended while walking"
shot next-room
# The figure walks on in its row after arriving; the rest of the field must
# be the next room's art.
n=$(view_differs next-room art 81 151 0,150,239,199)
[ "$n" -eq 0 ] || fail "$n pixels of the field differ from the next room's art: the figure did not arrive there"
n=$(view_differs next-room art 66 151 0,150,239,199)
[ "$n" -gt 1000 ] || fail "the field still shows the start room"
quit_with_esc
pass "walked through the exit into the next room"
