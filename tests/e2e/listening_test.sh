# Listening: everything the game plays is written to a file by ALSA's file
# plugin. With patches.dat beside the game the tune is heard within two
# seconds of the start and keeps playing, and a bomb's blast is heard above
# it; without patches.dat the music is silent while the sound effects still
# play and the game runs on.
. "$E2E_DIR/lib.sh"
. "$E2E_DIR/sound_lib.sh"
start_x
listen_to "$ARTIFACTS/sound.raw"
play_world bomb
MUSIC_LEVEL=20 # a window at or above this level holds sound

# play_bomb_story: starts the game, listens for 2 s (START..AT_2S), walks
# right (taking the bomb bag, to the cracked wall), waits (to BEFORE_BOMB),
# drops a bomb and waits for its blast (to AFTER_BOMB), and quits.
play_bomb_story() {
    local t0
    t0=$(date +%s%N)
    start_game
    sleep "$(awk -v t0="$t0" -v now="$(date +%s%N)" 'BEGIN { s = 2 - (now - t0) / 1e9; print (s > 0 ? s : 0) }')"
    AT_2S=$(sound_bytes)
    hold Right 1.5
    AFTER_WALK=$(sound_bytes)
    sleep 1
    BEFORE_BOMB=$(sound_bytes)
    hold space 0.3
    sleep 2.5
    AFTER_BOMB=$(sound_bytes)
    game_running || fail "the game ended by itself"
    quit_with_esc
    [ ! -s "$ARTIFACTS/stderr.log" ] || fail "the game printed: $(cat "$ARTIFACTS/stderr.log")"
    [ ! -e "$RUN_DIR/allegro.cfg" ] || fail "the game wrote an allegro.cfg"
}

# With the patch set the build made.
make_run_dir "$WORLD"
run_dir_with_patch_set "$GAME_DIR/patches.dat"
play_bomb_story
[ "$AT_2S" -gt 0 ] || fail "no sound at all was written within 2 s"
set -- $(sounding_windows 0 "$AT_2S" "$MUSIC_LEVEL")
[ "$1" -gt 0 ] || fail "the first 2 s hold no music ($2 windows, all below $MUSIC_LEVEL)"
set -- $(sounding_windows "$AFTER_WALK" "$BEFORE_BOMB" "$MUSIC_LEVEL")
[ "$1" -ge $(($2 * 9 / 10)) ] || fail "the music does not keep playing: $1 of $2 windows sound"
music=$(loudest_window "$AFTER_WALK" "$BEFORE_BOMB")
blast=$(loudest_window "$BEFORE_BOMB" "$AFTER_BOMB")
[ "$blast" -gt $((music * 3 / 2)) ] || fail "the blast ($blast) is not heard above the music ($music)"
echo "with patches.dat: music at up to $music, the blast at $blast"

# Without a patch set: the music is silent, the effects are not.
make_run_dir "$WORLD"
run_dir_with_patch_set
listen_to "$ARTIFACTS/sound-without.raw"
play_bomb_story
[ "$(loudest_window 0 "$AT_2S")" -eq 0 ] || fail "without patches.dat, the first 2 s are not silent"
[ "$(loudest_window "$AFTER_WALK" "$BEFORE_BOMB")" -eq 0 ] || fail "without patches.dat, music is heard"
[ "$(loudest_window "$AT_2S" "$AFTER_WALK")" -ge "$MUSIC_LEVEL" ] || fail "without patches.dat, taking the bag is not heard"
blast=$(loudest_window "$BEFORE_BOMB" "$AFTER_BOMB")
[ "$blast" -ge "$MUSIC_LEVEL" ] || fail "without patches.dat, the blast is not heard"
pass "the tune plays within 2 s and the blast is heard above it; without patches.dat only the effects"
