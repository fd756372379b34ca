# Play, as a player plays it, recorded and listened to: the window and the
# first room as the world tool draws it, the panel with its counters; the
# bomb bag taken on the way right, a cracked wall bombed open with a blast
# heard above the music, the exit into the next room, the goal there ending
# the game (with --summary, after the run's figures and a key) with 0. The
# recording then replays headless to the same end line,
# twice, and fails when that line cannot be written; watched in the window
# with no patch set it ends the same, the music silent and the effects heard;
# and Esc stops a watched replay early.
. "$E2E_DIR/lib.sh"
. "$E2E_DIR/sound_lib.sh"
start_x
play_world play
world_variant bag-taken objects.txt 's/B/./g'
render_world "$ARTIFACTS/world-bag-taken" art-bag-taken
# The blast: the bomb lies at (156 + 4, 160 + 16), so the tile under its
# centre is column 10, row 11 of the room, and the cracked tiles of the 3 x 3
# block round it are column 11, rows 10 to 12 (the source's rows 11 to 13).
world_variant blasted terrain.txt '11,13 s/^\(...........\)%/\1_/' "$ARTIFACTS/world-bag-taken"
render_world "$ARTIFACTS/world-blasted" art-blasted
render_world "$WORLD" art
# The side panel's art as stored in data.dat.
dat "$GAME_DIR/data.dat" -pal PALETTE -e -o "$ARTIFACTS/panel-art.bmp" PANEL > /dev/null 2>&1
convert "$ARTIFACTS/panel-art.bmp" "$ARTIFACTS/panel-art.png" 2>/dev/null || fail "cannot extract the panel art from data.dat"
make_run_dir "$WORLD"
run_dir_with_patch_set "$GAME_DIR/patches.dat"
MUSIC_LEVEL=20 # a window at or above this level holds sound
FIGURE=156,160,179,191

listen_to "$ARTIFACTS/sound.raw"
t0=$(date +%s%N)
start_game --record run.rec --summary
geometry=$(xwininfo -root -children | grep -o '320x240+0+0' | head -n1)
[ "$geometry" = "320x240+0+0" ] || fail "no 320x240 window: $(xwininfo -root -children)"
shot first-room
n=$(view_differs first-room art 66 151 120,160,143,191)
[ "$n" -eq 0 ] || fail "$n pixels of the play field differ from the start room's art"
n=$(differing_pixels first-room 120 160 art $(((66 - RENDER_TX) * 16 + 120)) $(((151 - RENDER_TY) * 16 + 160)) 24 32)
[ "$n" -gt 200 ] || fail "no figure at (120, 160): only $n pixels differ from the floor there"
# The panel: its art below the counters, each counter's line written in black over it.
n=$(differing_pixels first-room 240 90 panel-art 0 90 80 150)
[ "$n" -eq 0 ] || fail "$n pixels of the panel below the counters differ from its art"
for y in 8 38 68; do
    [ "$(count_colour first-room 240 $y 80 12 0,0,0)" -gt 20 ] || fail "no counter written on the panel at y = $y"
done
sleep "$(awk -v t0="$t0" -v now="$(date +%s%N)" 'BEGIN { s = 2 - (now - t0) / 1e9; print (s > 0 ? s : 0) }')"
AT_2S=$(sound_bytes)

hold Right 1.5 # the bag is taken on the way; the cracked wall stops the figure
AFTER_WALK=$(sound_bytes)
shot at-the-wall
n=$(view_differs at-the-wall art-bag-taken 66 151 $FIGURE)
[ "$n" -eq 0 ] || fail "$n pixels of the field differ from the room with the bag taken and the figure at the wall"
[ "$(differing_pixels first-room 240 66 at-the-wall 240 66 80 14)" -gt 0 ] || fail "the bomb counter did not change with the bag"
sleep 1
BEFORE_BOMB=$(sound_bytes)
hold space 0.3
sleep 2.5 # the fuse and the blast
AFTER_BOMB=$(sound_bytes)
shot blasted
n=$(view_differs blasted art-blasted 66 151 $FIGURE)
[ "$n" -eq 0 ] || fail "$n pixels of the field differ from the room with the three cracked tiles blasted"

hold Right 1.2 # through the opening and the exit
game_running || fail "the game ended before the goal"
shot next-room
# The figure walks on in its row after arriving; the rest of the field must
# be the next room's art.
n=$(view_differs next-room art-blasted 81 151 0,150,239,199)
[ "$n" -eq 0 ] || fail "$n pixels of the field differ from the next room's art: the figure did not get through"
hold Right 3 # to the goal, which ends the run: the figures are shown until a key
game_running || fail "with --summary the game ended before its figures were seen"
shot summary
n=$(count_colour summary 0 0 240 240 255,255,255)
[ "$n" -gt 200 ] || fail "no figures on the field ($n white pixels)"
hold space 0.2
wait_game_end 5
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after taking the goal, expected 0"
printf '\nGenerating Transparency Table (3.25 lines to go)\n' > "$ARTIFACTS/expected-stdout"
cmp -s "$ARTIFACTS/expected-stdout" "$ARTIFACTS/stdout.log" || fail "standard output differs: $(od -c "$ARTIFACTS/stdout.log" | head)"

# What was heard: the tune within 2 s and on, the blast above it.
set -- $(sounding_windows 0 "$AT_2S" "$MUSIC_LEVEL")
[ "$1" -gt 0 ] || fail "the first 2 s hold no music ($2 windows, all below $MUSIC_LEVEL)"
set -- $(sounding_windows "$AFTER_WALK" "$BEFORE_BOMB" "$MUSIC_LEVEL")
[ "$1" -ge $(($2 * 9 / 10)) ] || fail "the music does not keep playing: $1 of $2 windows sound"
music=$(loudest_window "$AFTER_WALK" "$BEFORE_BOMB")
blast=$(loudest_window "$BEFORE_BOMB" "$AFTER_BOMB")
[ "$blast" -gt $((music * 3 / 2)) ] || fail "the blast ($blast) is not heard above the music ($music)"

rec="$RUN_DIR/run.rec"
cp "$rec" "$ARTIFACTS/run.rec"
trailer=$(tail -n 1 "$rec")
case "$trailer" in
    "end=goal "*" bombs=4 "*" view=81,"*) ;;
    *) fail "the recording's end line [$trailer] is not the goal after one bomb in the next room" ;;
esac

# Headless, twice: the same end line, the same output; a lost end line is no success.
for n in 1 2; do
    (cd "$RUN_DIR" && "$LAMPLIGHT" --replay run.rec --headless > "$ARTIFACTS/replay-$n.log" 2> "$ARTIFACTS/replay-$n.err") \
        || fail "replay $n did not end as the live run: $(cat "$ARTIFACTS/replay-$n.err")"
done
[ "$(tail -n 1 "$ARTIFACTS/replay-1.log")" = "$trailer" ] || fail "the replay printed [$(tail -n 1 "$ARTIFACTS/replay-1.log")]"
cmp -s "$ARTIFACTS/replay-1.log" "$ARTIFACTS/replay-2.log" || fail "two replays printed different output"
(cd "$RUN_DIR" && "$LAMPLIGHT" --replay run.rec --headless > /dev/full 2> "$ARTIFACTS/replay-full.err") \
    && fail "a replay whose end line went to a full disk ended with 0"
grep -q "the end line could not be written" "$ARTIFACTS/replay-full.err" || fail "no line for the lost end line"

# Watched at the game's pace with no patch set: the same end, the music
# silent, the bag and the blast heard.
run_dir_with_patch_set
listen_to "$ARTIFACTS/sound-watched.raw"
start_game --replay run.rec
wait_game_end 20
[ "$GAME_STATUS" = 0 ] || fail "the watched replay ended with status $GAME_STATUS"
[ "$(tail -n 1 "$ARTIFACTS/stdout.log")" = "$trailer" ] || fail "the watched replay printed [$(tail -n 1 "$ARTIFACTS/stdout.log")]"
set -- $(sounding_windows 0 "$(sound_bytes)" "$MUSIC_LEVEL")
[ "$1" -gt 0 ] || fail "without patches.dat the effects are not heard"
[ "$1" -lt $(($2 / 4)) ] || fail "without patches.dat $1 of $2 windows sound: music is heard"
# Esc stops a watched replay early.
start_game --replay run.rec
sleep 1
quit_with_esc
early=$(tail -n 1 "$ARTIFACTS/stdout.log")
frames=$(echo "$early" | sed -n 's/^end=esc frames=\([0-9]*\) .*/\1/p')
[ -n "$frames" ] && [ "$frames" -lt 100 ] || fail "Esc did not stop the watched replay early: [$early]"
pass "played to the goal [$trailer], music $music and blast $blast; replayed exactly headless and watched; Esc stopped a replay at frame $frames"
