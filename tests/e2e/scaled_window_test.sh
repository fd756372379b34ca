# --scale 3 on a 1024x768 screen: a 960x720 window whose picture is the
# plain 1x picture of the same moment with every pixel a 3x3 block.
. "$E2E_DIR/lib.sh"
start_x 1024x768
make_run_dir

# window_geometry: the size and place of the game's window, as WxH+X+Y.
window_geometry() {
    xwininfo -root -children | grep -o '[0-9]*x[0-9]*+[0-9]*+[0-9]*' | grep -v '^1024x768' | head -n1
}

start_game --scale 3
xdotool mousemove 500 300 # keyboard focus follows the pointer
sleep 1
game_running || fail "the game stopped by itself"
[ "$(window_geometry)" = "960x720+0+0" ] || fail "no 960x720 window: $(xwininfo -root -children)"
[ "$(xprop -id "$(xdotool search --name '^lamplight$' | head -n1)" WM_NAME 2>/dev/null)" = 'WM_NAME(STRING) = "lamplight"' ] \
    || fail "no window titled lamplight"
shot scale3
quit_with_esc

start_game --scale 1
xdotool mousemove 100 100 # keyboard focus follows the pointer
sleep 1
[ "$(window_geometry)" = "320x240+0+0" ] || fail "no 320x240 window at --scale 1"
shot scale1
quit_with_esc
[ "$(distinct_colours scale1 0 0 240 240)" -gt 8 ] || fail "the play field is not drawn"

# Every third pixel of the 3x picture is the 1x picture ...
convert "$ARTIFACTS/scale3.png" -crop 960x720+0+0 +repage -sample 320x240 "$ARTIFACTS/scale3-sampled.png"
n=$(differing_pixels scale3-sampled 0 0 scale1 0 0 320 240)
[ "$n" = 0 ] || fail "$n pixels of the 3x picture sampled every third pixel differ from the 1x picture"
# ... and the 3x picture is nothing but 3x3 blocks of it.
convert "$ARTIFACTS/scale1.png" -crop 320x240+0+0 +repage -sample 960x720 "$ARTIFACTS/scale1-blocks.png"
n=$(differing_pixels scale3 0 0 scale1-blocks 0 0 960 720)
[ "$n" = 0 ] || fail "$n pixels of the 3x picture differ from the 1x picture in 3x3 blocks"
pass "--scale 3 shows the 1x picture in 3x3 blocks in a 960x720 window"
