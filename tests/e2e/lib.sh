# lib.sh -- shared steps of the end-to-end tests: a private X server, a run
# folder, the real game binary, held keys and screenshots.
# Needs: LAMPLIGHT (the game binary), WORLD_TOOL (lamplight-world), GAME_DIR
# (the built run folder with the datafiles), SOURCE_DIR (the repository),
# ARTIFACTS (where this test keeps its screenshots and logs).
set -u
export ALSA_CONFIG_PATH=/dev/null   # no sound card: keep ALSA quiet

fail() {
    echo "FAIL: $*" >&2
    [ -n "${ARTIFACTS:-}" ] && echo "screenshots and logs kept in $ARTIFACTS" >&2
    exit 1
}

# Starts Xvfb on a free display; kills it (and the game) when the test exits.
start_x() {
    mkdir -p "$ARTIFACTS"
    rm -f "$ARTIFACTS"/*.png "$ARTIFACTS"/*.log 2>/dev/null
    local fifo="$ARTIFACTS/displayfd"
    rm -f "$fifo"
    Xvfb -displayfd 1 -screen 0 320x240x24 -nolisten tcp > "$fifo" 2>"$ARTIFACTS/xvfb.log" &
    XVFB_PID=$!
    trap stop_all EXIT
    local n=0
    while [ ! -s "$fifo" ] && [ $n -lt 100 ]; do sleep 0.05; n=$((n + 1)); done
    [ -s "$fifo" ] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$fifo")"
    n=0
    until xdpyinfo > /dev/null 2>&1; do
        sleep 0.05; n=$((n + 1)); [ $n -lt 100 ] || fail "display $DISPLAY does not answer"
    done
}

stop_all() {
    [ -n "${GAME_PID:-}" ] && kill "$GAME_PID" 2>/dev/null
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    return 0
}

# make_run_dir [WORLD_SOURCE]: a fresh run folder with the datafiles and the
# layer files built from WORLD_SOURCE (default: the default world).
make_run_dir() {
    RUN_DIR="$ARTIFACTS/run"
    rm -rf "$RUN_DIR"
    mkdir -p "$RUN_DIR"
    cp "$GAME_DIR/data.dat" "$GAME_DIR/guy.dat" "$GAME_DIR/monster.dat" "$RUN_DIR/"
    "$WORLD_TOOL" -C "$RUN_DIR" build "${1:-$SOURCE_DIR/world}" > "$ARTIFACTS/world-build.log" 2>&1 \
        || fail "world build failed: $(cat "$ARTIFACTS/world-build.log")"
}

# Starts the game in the run folder and waits for its window.
start_game() {
    (cd "$RUN_DIR" && exec "$LAMPLIGHT" > "$ARTIFACTS/stdout.log" 2> "$ARTIFACTS/stderr.log") &
    GAME_PID=$!
    local n=0
    until [ "$(xwininfo -root -children 2>/dev/null | grep -c '^ *0x')" -gt 0 ]; do
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before opening a window: $(cat "$ARTIFACTS/stderr.log")"
        sleep 0.1; n=$((n + 1)); [ $n -lt 100 ] || fail "no window after 10 s"
    done
    sleep 0.5 # the first frames
}

# Waits up to $1 seconds for the game to end; sets GAME_STATUS.
wait_game_end() {
    local n=0 limit=$(( ${1:-5} * 10 ))
    while kill -0 "$GAME_PID" 2>/dev/null; do
        sleep 0.1; n=$((n + 1))
        [ $n -lt $limit ] || { shot still-running; fail "the game did not end within ${1:-5} s"; }
    done
    wait "$GAME_PID"
    GAME_STATUS=$?
    GAME_PID=""
}

game_running() { kill -0 "$GAME_PID" 2>/dev/null; }

# hold KEY... SECONDS: holds the keys together for SECONDS (the game polls
# once a frame, so a tap shorter than a frame can be missed).
hold() {
    local n=$# secs
    eval "secs=\${$n}"
    local keys=""
    while [ $# -gt 1 ]; do keys="$keys $1"; shift; done
    xdotool keydown $keys
    sleep "$secs"
    xdotool keyup $keys
    sleep 0.15
}

# shot NAME: a screenshot of the whole display into $ARTIFACTS/NAME.png.
shot() {
    xwd -root -silent | convert xwd:- "$ARTIFACTS/$1.png"
}

# pixel NAME X Y: the colour of one pixel as "r,g,b" (0..255).
pixel() {
    convert "$ARTIFACTS/$1.png" -format '%[fx:int(255*p{'"$2,$3"'}.r)],%[fx:int(255*p{'"$2,$3"'}.g)],%[fx:int(255*p{'"$2,$3"'}.b)]' info:
}

# count_colour NAME X Y W H R,G,B: how many pixels of the region have that colour.
count_colour() {
    convert "$ARTIFACTS/$1.png" -crop "$4x$5+$2+$3" +repage txt:- \
        | grep -c "($7)" || true
}

# distinct_colours NAME X Y W H: the number of different colours in a region.
distinct_colours() {
    convert "$ARTIFACTS/$1.png" -crop "$4x$5+$2+$3" +repage -format '%k' info:
}

pass() { echo "PASS: $*"; exit 0; }
