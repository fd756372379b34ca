# The game starts on the default world, prints its progress line, opens a
# 320x240 window, keeps running, and ends with status 0 on Esc.
. "$E2E_DIR/lib.sh"
start_x
make_run_dir
start_game
sleep 1
game_running || fail "the game stopped by itself"
geometry=$(xwininfo -root -children | grep -o '320x240+0+0' | head -n1)
[ "$geometry" = "320x240+0+0" ] || fail "no 320x240 window: $(xwininfo -root -children)"
shot first-room
[ "$(distinct_colours first-room 0 0 240 240)" -gt 8 ] || fail "the play field is not drawn"
quit_with_esc
printf '\nGenerating Transparency Table (3.25 lines to go)\n' > "$ARTIFACTS/expected-stdout"
cmp -s "$ARTIFACTS/expected-stdout" "$ARTIFACTS/stdout.log" || fail "standard output differs: $(od -c "$ARTIFACTS/stdout.log" | head)"
pass "started, drew, ended on Esc with 0"
