# Switches and gates: a shot (Alt) that stops on the switch toggles every
# gate of the room, which the field then shows (the closed gates in the wall
# above the figure open, the open gate before the switch closes); the figure
# then walks up through the opened gate to the exit and into the room above.
. "$E2E_DIR/lib.sh"
start_x
play_world switch
render_world "$WORLD" art-closed
# Rows 20 and 26 of the source are the gate wall and the switch row (rows 5
# and 11 of the start room).
world_variant toggled terrain.txt '21 { s/\[/{/; s/\]/}/; }; 27 s/{S/[S/'
render_world "$ARTIFACTS/world-toggled" art-toggled
make_run_dir "$WORLD"
start_game
FIGURE=120,160,143,191

shot before
n=$(view_differs before art-closed 66 151 $FIGURE)
[ "$n" -eq 0 ] || fail "$n pixels of the field differ from the start room with its gates as built"

# Facing right from the start, every frame with Alt held fires a shot along
# the figure's row; the first toggles the gates, the next ones stop on the
# gate that the first one closed.
hold Alt_L 0.6
sleep 0.5
game_running || fail "the game ended while shooting"
shot toggled
n=$(view_differs toggled art-toggled 66 151 $FIGURE)
[ "$n" -eq 0 ] || fail "$n pixels of the field differ from the room with every gate toggled once"

hold Up 3
game_running || fail "the game ended while walking"
shot room-above
# The figure walks on up its columns after arriving; the rest of the field
# must be the upper room's art.
n=$(view_differs room-above art-closed 66 136 110,0,153,239)
[ "$n" -eq 0 ] || fail "$n pixels of the field differ from the room above: the figure did not get through the gate"
quit_with_esc
pass "the shot switch opened the gates and the figure walked through into the room above"
