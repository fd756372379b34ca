# A dark room: without the lamp the play field is entirely black while the
# panel shows; once the figure has walked over the lamp, a circle of light
# round the figure shows the room (full brightness at its middle, dimmer
# towards its rim) and everything farther off, the corners too, stays black.
. "$E2E_DIR/lib.sh"
start_x
play_world dark
world_variant no-lamp objects.txt 's/L/./g'
render_world "$ARTIFACTS/world-no-lamp" art
panel_art panel-art
make_run_dir "$WORLD"
start_game
RX=$(((66 - RENDER_TX) * 16)) RY=$(((151 - RENDER_TY) * 16))

check_panel() {
    n=$(differing_pixels "$1" 240 90 panel-art 0 90 80 150)
    [ "$n" -eq 0 ] || fail "$1: $n pixels of the panel below the counters differ from its art"
    n=$(count_colour "$1" 240 8 80 12 0,0,0)
    [ "$n" -gt 20 ] || fail "$1: no score written on the panel"
}

shot without-lamp
n=$(count_colour without-lamp 0 0 240 240 0,0,0)
[ "$n" -eq 57600 ] || fail "without the lamp, $((57600 - n)) pixels of the play field are not black"
check_panel without-lamp

# Right: over the lamp, then against the pillar two tiles on, which stops
# the figure at x = 156: the light's centre is (156 + 12, 160 + 14).
hold Right 1.5
game_running || fail "the game ended while walking"
shot with-lamp
check_panel with-lamp
D2="(x - 168) * (x - 168) + (y - 174) * (y - 174)"
far=$(count_pixels with-lamp 0 0 240 240 "$D2 > 82 * 82")
lit_far=$(count_pixels with-lamp 0 0 240 240 "$D2 > 82 * 82 && r + g + b > 0")
[ "$lit_far" -eq 0 ] || fail "$lit_far of the $far pixels beyond the circle of light are not black"
for corner in "0 0" "230 0" "0 230" "230 230"; do
    set -- $corner
    n=$(count_colour with-lamp "$1" "$2" 10 10 0,0,0)
    [ "$n" -eq 100 ] || fail "the corner at ($1, $2) of the field is not black"
done

# At the middle of the light the room shows at full brightness: beside the
# figure (x 156..179, y 160..191), within 16 pixels of the centre.
n=$(differing_pixels with-lamp 180 168 art $((RX + 180)) $((RY + 168)) 4 13)
[ "$n" -eq 0 ] || fail "$n pixels right of the figure differ from the room's art at the light's middle"
n=$(differing_pixels with-lamp 153 168 art $((RX + 153)) $((RY + 168)) 3 13)
[ "$n" -eq 0 ] || fail "$n pixels left of the figure differ from the room's art at the light's middle"

# Between the middle and the rim the room shows, dimmed.
RING="$D2 > 25 * 25 && $D2 < 70 * 70 && !(x >= 156 && x < 180 && y >= 160 && y < 192)"
ring=$(count_pixels with-lamp 0 0 240 240 "$RING")
ring_shown=$(count_pixels with-lamp 0 0 240 240 "$RING && r + g + b > 0")
bright_lit=$(mean_pixels with-lamp 0 0 240 240 "$RING" "r + g + b")
bright_art=$(mean_pixels art "$RX" "$RY" 240 240 "$RING" "r + g + b")
echo "ring round the figure: $ring_shown of $ring pixels shown, brightness $bright_lit where the art has $bright_art"
[ "$ring_shown" -gt $((ring * 9 / 10)) ] || fail "only $ring_shown of $ring pixels round the figure are lit"
[ "$bright_lit" -lt $((bright_art * 9 / 10)) ] || fail "the ring round the figure is not dimmed ($bright_lit, art $bright_art)"
[ "$bright_lit" -gt $((bright_art / 5)) ] || fail "the ring round the figure is nearly black ($bright_lit, art $bright_art)"
quit_with_esc
pass "dark without the lamp; a circle of light round the figure with it, black beyond"
