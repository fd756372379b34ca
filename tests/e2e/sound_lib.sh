# sound_lib.sh -- listening to the game: ALSA's file plugin writes everything
# the game plays into a raw file, measured here in windows.
# Source after lib.sh.

# listen_to FILE: from now on, the game's sound output goes to FILE (Allegro's
# ALSA driver writes unsigned 16-bit stereo frames) instead of nowhere.
listen_to() {
    SOUND="$1"
    rm -f "$SOUND"
    printf 'pcm.!default { type file slave.pcm { type null } file "%s" format "raw" }\n' "$SOUND" \
        > "$ARTIFACTS/alsa.conf"
    printf 'ctl.!default { type hw card 0 }\nrawmidi.!default { type hw card 0 }\n' >> "$ARTIFACTS/alsa.conf"
}

# sound_bytes: how much sound the game has written so far.
sound_bytes() {
    if [ -f "$SOUND" ]; then stat -c %s "$SOUND"; else echo 0; fi
}

# window_levels FROM TO: one line per 50 ms window (2205 frames) of the bytes
# FROM..TO of the sound file, its level: the mean step between successive
# samples of a channel, so a constant stream, whatever its value, has level 0.
window_levels() {
    local from=$(( $1 / 4 * 4 )) to=$(( $2 / 4 * 4 ))
    [ "$to" -gt "$from" ] || return 0
    tail -c +$((from + 1)) "$SOUND" | head -c $((to - from)) | od -An -tu2 -v -w4 | awk '
        { if (NR > 1) { d = $1 - l; if (d < 0) d = -d; e = $2 - r; if (e < 0) e = -e; sum += d + e }
          l = $1; r = $2
          if (NR % 2205 == 0) { printf "%d\n", sum / 4410; sum = 0 } }'
}

# loudest_window FROM TO: the highest window level of those bytes (0 if none).
loudest_window() {
    window_levels "$1" "$2" | sort -n | tail -n1 | grep . || echo 0
}

# sounding_windows FROM TO LEVEL: "N OF": how many of the OF windows of those
# bytes reach LEVEL.
sounding_windows() {
    window_levels "$1" "$2" | awk -v level="$3" '$1 >= level { n++ } END { printf "%d %d\n", n, NR }'
}

# run_dir_with_patch_set [FILE]: puts a copy of the game into the run folder,
# with FILE beside it as patches.dat (none without FILE): the library looks
# for the music's instruments beside the program.
BUILT_GAME="$LAMPLIGHT"
run_dir_with_patch_set() {
    cp "$BUILT_GAME" "$RUN_DIR/lamplight"
    rm -f "$RUN_DIR/patches.dat"
    [ -z "${1:-}" ] || cp -a "$1" "$RUN_DIR/patches.dat" # a named pipe stays one
    LAMPLIGHT="$RUN_DIR/lamplight"
}
