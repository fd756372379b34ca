# --fullscreen on a 3840x2160 screen, where a scale of 9 would fit: the 1x
# picture in 8x8 blocks (the largest scale drawn), 2560x1920 at (640, 120),
# and black all round it.
. "$E2E_DIR/lib.sh"
start_x 3840x2160
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

convert "$ARTIFACTS/scale1.png" -crop 320x240+0+0 +repage -sample 2560x1920 "$ARTIFACTS/scale1-blocks.png"
n=$(differing_pixels fullscreen 640 120 scale1-blocks 0 0 2560 1920)
[ "$n" = 0 ] || fail "$n pixels of the centred picture differ from the 1x picture in 8x8 blocks"
# Around it: the four bands of the border, all black.
for band in "0 0 3840 120" "0 2040 3840 120" "0 120 640 1920" "3200 120 640 1920"; do
    set -- $band
    n=$(count_pixels fullscreen "$1" "$2" "$3" "$4" 'r + g + b > 0')
    [ "$n" = 0 ] || fail "$n pixels not black in the border at $band"
done
pass "--fullscreen on a 4K screen shows the 8x picture centred on black"
