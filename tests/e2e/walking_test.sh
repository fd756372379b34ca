# Walking: holding Right moves the figure, and in a room wider than the view
# the view scrolls with it: the field then shows the world's art further
# right, the figure pinned at the view's right scroll edge (x = 148).
. "$E2E_DIR/lib.sh"
start_x
play_world walking
render_world "$WORLD" art
make_run_dir "$WORLD"
start_game
# tile (66, 151) of the render, in pixels
RX=$(((66 - RENDER_TX) * 16)) RY=$(((151 - RENDER_TY) * 16))

shot before
n=$(view_differs before art 66 151 120,160,143,191)
[ "$n" -eq 0 ] || fail "before walking, $n pixels of the play field differ from the room's art at (66, 151)"

hold Right 1.5
game_running || fail "the game ended while walking"
shot after
# Find how far the view moved: the strip above the figure in the render of
# the room's top rows (the view cannot move vertically in a room 15 tiles tall).
convert "$ARTIFACTS/after.png" -crop 240x150+0+0 +repage "$ARTIFACTS/strip.png"
convert "$ARTIFACTS/art.png" -crop 640x150+$RX+$RY +repage "$ARTIFACTS/room-strip.png"
found=$(compare -metric AE -subimage-search "$ARTIFACTS/room-strip.png" "$ARTIFACTS/strip.png" null: 2>&1 | tail -n1)
echo "the field's upper part found in the room's art: $found"
case "$found" in
    "0 @ "*,0) d=${found#0 @ }; d=${d%,0} ;;
    *) fail "the upper part of the field is not the room's art at any view position ($found)" ;;
esac
[ "$d" -gt 0 ] || fail "the view did not scroll (offset $d)"

# The whole field is the art seen from world pixel 66 * 16 + d, except for
# the figure, which the scrolling view holds at x = 148.
n=$(differing_pixels after 0 0 art $((RX + d)) "$RY" 240 240 148,160,171,191)
[ "$n" -eq 0 ] || fail "$n pixels of the field differ from the room's art scrolled by $d pixels"
n=$(differing_pixels after 148 160 art $((RX + d + 148)) $((RY + 160)) 24 32)
[ "$n" -gt 200 ] || fail "no figure at (148, 160) after walking ($n pixels differ from the floor)"
quit_with_esc
pass "the figure walked $((d + 28)) pixels right and the view scrolled $d pixels"
