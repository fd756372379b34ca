# A damaged patches.dat beside the game: the game starts and plays as
# without one: a window, no line printed, the music silent, Esc ends it with
# status 0, and the damaged file is left where and as it was (no allegro.cfg
# written either). So does a whole one on a machine without a sound device,
# where the library could not play it. Each kind of damage the check finds is
# tested headless; here one cut short and a wave past its instrument's end,
# which would take the game over (scripts/check-memory.sh plays them under
# valgrind).
. "$E2E_DIR/lib.sh"
. "$E2E_DIR/sound_lib.sh"
start_x
make_run_dir
GOOD="$GAME_DIR/patches.dat"
DAMAGED="$ARTIFACTS/damaged.dat"
CASES=0

# expect_silent_music CASE: the game with $DAMAGED as its patches.dat (left
# where and as it was) starts, runs, prints nothing, writes no allegro.cfg,
# ends with 0 on Esc and, listened to (unless SOUND is "deaf"), plays no music.
expect_silent_music() {
    CASES=$((CASES + 1))
    run_dir_with_patch_set "$DAMAGED"
    [ "${SOUND:-}" = deaf ] || listen_to "$ARTIFACTS/sound-$CASES.raw"
    start_game
    sleep 1.5
    game_running || fail "$1: the game ended: $(cat "$ARTIFACTS/stderr.log")"
    quit_with_esc
    [ ! -s "$ARTIFACTS/stderr.log" ] || fail "$1: the game printed: $(cat "$ARTIFACTS/stderr.log")"
    [ ! -e "$RUN_DIR/allegro.cfg" ] || fail "$1: an allegro.cfg was written"
    if [ -p "$DAMAGED" ]; then [ -p "$RUN_DIR/patches.dat" ]; else cmp -s "$DAMAGED" "$RUN_DIR/patches.dat"; fi \
        || fail "$1: patches.dat was changed or moved"
    [ "$(loudest_window 0 "$(sound_bytes)")" -eq 0 ] || fail "$1: music was played from a damaged patch set"
    echo "$1: started, music silent, ended with 0"
}

# poke OFFSET BYTES...: writes octal-escaped BYTES into $DAMAGED at OFFSET.
poke() {
    local at=$1
    shift
    printf "$*" | dd of="$DAMAGED" bs=1 seek="$at" conv=notrunc 2>/dev/null
}

head -c $(($(stat -c %s "$GOOD") - 10)) "$GOOD" > "$DAMAGED"; expect_silent_music "truncated by 10 bytes"
# The first instrument (a Gravis patch inside the datafile): a wave that
# claims 2 GB, a loop past the wave's end (the mixer would read past it).
patch=$(grep -obUa 'GF1PATCH1' "$GOOD" | head -n1 | cut -d: -f1)
[ -n "$patch" ] || fail "no Gravis patch found in $GOOD"
cp "$GOOD" "$DAMAGED"; poke $((patch + 239 + 8)) '\377\377\377\177'; expect_silent_music "wave past its patch"
# A named pipe in its place: nothing waits for a writer.
rm -f "$DAMAGED" && mkfifo "$DAMAGED"; expect_silent_music "named pipe"
rm "$DAMAGED"

# No sound device (the ALSA card does not exist): DIGMID would make the sound
# start-up fail, so the library is kept from the patch set.
printf 'pcm.!default { type hw card 99 }\nctl.!default { type hw card 99 }\nrawmidi.!default { type hw card 99 }\n' \
    > "$ARTIFACTS/alsa.conf"
SOUND=deaf
cp "$GOOD" "$DAMAGED"; expect_silent_music "no sound device"
pass "$CASES unusable patch sets left the music silent and the game running"
