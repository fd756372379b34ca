# The default world's first room, lit: the play field shows the start room's
# tiles and objects exactly as the world's art draws them (the figure aside),
# the figure stands at its start place, and the side panel shows its art with
# the three counters written over it.
. "$E2E_DIR/lib.sh"
start_x
make_run_dir
render_world "$SOURCE_DIR/world" art
panel_art panel-art
start_game
shot first-room

# The view starts at tile (66, 151) with no sub-tile offset; the figure's
# 24 x 32 sprite is at (120, 160).
n=$(view_differs first-room art 66 151 120,160,143,191)
[ "$n" -eq 0 ] || fail "$n pixels of the play field differ from the start room's art"
n=$(differing_pixels first-room 120 160 art $(((66 - RENDER_TX) * 16 + 120)) $(((151 - RENDER_TY) * 16 + 160)) 24 32)
[ "$n" -gt 200 ] || fail "no figure at (120, 160): only $n pixels differ from the floor there"

# The panel: its art below the counters unchanged, and each counter's line
# (y = 10, 40, 70) written in black over the art.
n=$(differing_pixels first-room 240 90 panel-art 0 90 80 150)
[ "$n" -eq 0 ] || fail "$n pixels of the panel below the counters differ from its art"
for y in 8 38 68; do
    n=$(count_colour first-room 240 $y 80 12 0,0,0)
    [ "$n" -gt 20 ] || fail "no counter written on the panel at y = $y ($n black pixels)"
done
quit_with_esc
pass "the first room shows its art, the figure and the panel with its counters"
