# --fullscreen on a 1920x1080 screen: the 1x picture in 4x4 blocks, centred
# (1280x960 at (320, 60)), and black all round it.
. "$E2E_DIR/lib.sh"
start_x 1920x1080
make_run_dir

start_game --fullscreen
sleep 1
game_running || fail "the game stopped by itself"
shot fullscreen
quit_with_esc
[ ! -s "$ARTIFACTS/stderr.log" ] || fail "unexpected standard error: $(cat "$ARTIFACTS/stderr.log")"

start_game --scale 1
xdotool mousemove 100 100 # keyboard focus follows the pointer
sleep 1
shot scale1
quit_with_esc

convert "$ARTIFACTS/scale1.png" -crop 320x240+0+0 +repage -sample 1280x960 "$ARTIFACTS/scale1-blocks.png"
n=$(differing_pixels fullscreen 320 60 scale1-blocks 0 0 1280 960)
[ "$n" = 0 ] || fail "$n pixels of the centred picture differ from the 1x picture in 4x4 blocks"
# Around it: the four bands of the border, all black.
for band in "0 0 1920 60" "0 1020 1920 60" "0 60 320 960" "1600 60 320 960"; do
    set -- $band
    n=$(count_pixels fullscreen "$1" "$2" "$3" "$4" 'r + g + b > 0')
    [ "$n" = 0 ] || fail "$n pixels not black in the border at $band"
done
pass "--fullscreen shows the 4x picture centred on black"
