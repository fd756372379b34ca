# One large display (3840x2160, where a scale of 9 would fit): --scale 3
# opens a 960x720 window titled lamplight whose picture is the 1x picture in
# 3x3 blocks, and there the object editor shows the library's pointer under
# the real one (the tile painted under it at scale 3 is tested headless); --fullscreen shows
# the 1x picture in 8x8 blocks (the largest scale drawn), centred on black.
. "$E2E_DIR/lib.sh"
. "$E2E_DIR/editor_lib.sh"
start_x 3840x2160
play_world editor
make_run_dir "$WORLD"

# window_geometry: the size and place of the game's window, as WxH+X+Y.
window_geometry() {
    xwininfo -root -children | grep -o '[0-9]*x[0-9]*+[0-9]*+[0-9]*' | grep -v '^3840x2160' | head -n1
}

start_game --scale 1
xdotool mousemove 100 100 # keyboard focus follows the pointer
sleep 1
[ "$(window_geometry)" = "320x240+0+0" ] || fail "no 320x240 window at --scale 1"
shot scale1
quit_with_esc
convert "$ARTIFACTS/scale1.png" -crop 320x240+0+0 +repage "$ARTIFACTS/frame1.png"

start_game --fullscreen
sleep 1
shot fullscreen
quit_with_esc
[ ! -s "$ARTIFACTS/stderr.log" ] || fail "unexpected standard error: $(cat "$ARTIFACTS/stderr.log")"
convert "$ARTIFACTS/frame1.png" -sample 2560x1920 "$ARTIFACTS/frame1-x8.png"
n=$(differing_pixels fullscreen 640 120 frame1-x8 0 0 2560 1920)
[ "$n" = 0 ] || fail "$n pixels of the centred picture differ from the 1x picture in 8x8 blocks"
for band in "0 0 3840 120" "0 2040 3840 120" "0 120 640 1920" "3200 120 640 1920"; do
    set -- $band
    [ "$(convert "$ARTIFACTS/fullscreen.png" -crop "$3x$4+$1+$2" +repage -format '%[max]' info:)" = 0 ] \
        || fail "pixels not black in the border at $band"
done

start_game --scale 3
xdotool mousemove 500 300
sleep 1
[ "$(window_geometry)" = "960x720+0+0" ] || fail "no 960x720 window: $(xwininfo -root -children)"
[ "$(xprop -id "$(xdotool search --name '^lamplight$' | head -n1)" WM_NAME 2>/dev/null)" = 'WM_NAME(STRING) = "lamplight"' ] \
    || fail "no window titled lamplight"
shot game-before
convert "$ARTIFACTS/frame1.png" -sample 960x720 "$ARTIFACTS/frame1-x3.png"
n=$(differing_pixels game-before 0 0 frame1-x3 0 0 960 720)
[ "$n" = 0 ] || fail "$n pixels of the 3x picture differ from the 1x picture in 3x3 blocks"

# The object editor's library pointer is drawn where the real pointer is:
# its arrow appears at screen (600, 400), not at the frame pixel (200, 133)
# that position maps to.
open_editor o
point_at 600 400
shot pointer-here
point_at 300 200
shot pointer-away
leave_editor
[ "$(differing_pixels pointer-here 600 400 pointer-away 600 400 10 16)" -gt 20 ] \
    || fail "no library pointer at the real pointer (600, 400)"
[ "$(differing_pixels pointer-here 190 125 pointer-away 190 125 30 30)" = 0 ] \
    || fail "pixels changed round frame position (200, 133): a pointer drawn in frame coordinates?"
quit_with_esc

pass "--scale 3 in 3x3 blocks with the library pointer under the real one; --fullscreen in 8x8 blocks, centred on black"
