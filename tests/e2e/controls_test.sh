# Keys a player chose: with a controls.cfg that moves shoot to X and ghost
# to Z, X fires and Alt does not, Control does not ghost walk and Z with the
# cloak crosses a ghost wall; the recording, which holds actions, replays
# headless to the same end without the file.
. "$E2E_DIR/lib.sh"
start_x
play_world ghost
make_run_dir "$WORLD"
printf '[keys]\nshoot = X\nghost = Z\n' > "$RUN_DIR/controls.cfg"
start_game --record run.rec
hold Alt_L Down 0.6    # Alt: no shot
hold x Up 0.6          # X: shots
hold Right 2           # the cloak is taken; the ghost wall stops the figure
hold Control_L Right 1 # Control no longer ghost walks
hold z Right 2.5       # Z does: through the wall
quit_with_esc
rec="$RUN_DIR/run.rec"
end=$(tail -n 1 "$rec")
! grep -qx 'AD' "$rec" || fail "Alt fired: $(sort "$rec" | uniq -c)"
grep -qx 'D' "$rec" || fail "no frame of Down alone while Alt was held: $(sort "$rec" | uniq -c)"
grep -qx 'AU' "$rec" || fail "X did not fire: $(sort "$rec" | uniq -c)"
grep -qx 'RC' "$rec" || fail "Z did not ghost walk: $(sort "$rec" | uniq -c)"
# Control held with Right gave plain R frames: the only frames of R with
# ghost walking are Z's, one unbroken run.
[ "$(uniq "$rec" | grep -c '^RC$')" -eq 1 ] || fail "Control ghost walked: $(uniq -c "$rec" | tr -s ' \n' ' ')"
# World x of the figure: the ghost wall's left side is world x 176.
world_x() { echo "$1" | sed 's/.* x=\([0-9-]*\) .* view=\([0-9]*\),.*/\1 \2/' | { read x tx; echo $(((tx - 66) * 16 + x)); }; }
[ "$(world_x "$end")" -gt 250 ] || fail "the figure did not cross the ghost wall: $end"
rm "$RUN_DIR/controls.cfg"
out=$(cd "$RUN_DIR" && "$LAMPLIGHT" --replay "$rec" --headless 2>&1) || fail "the replay without controls.cfg: $out"
[ "$(echo "$out" | tail -n 1)" = "$end" ] || fail "the replay ended [$out], the run [$end]"
pass "X fired, Alt did not, Control did not ghost walk, Z crossed the ghost wall: $end; replayed without the file"
