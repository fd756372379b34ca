# lib.sh -- shared steps of the end-to-end tests: a private X server, a run
# folder, the real game binary, held keys and screenshots.
# Needs: LAMPLIGHT (the game binary), WORLD_TOOL (lamplight-world), GAME_DIR
# (the built run folder with the datafiles), SOURCE_DIR (the repository),
# ARTIFACTS (where this test keeps its screenshots and logs).
set -u
# No sound card: an ALSA configuration whose default devices are silent, so
# that ALSA prints nothing on standard error (an empty one still complains
# about the default PCM and raw MIDI devices).
mkdir -p "$ARTIFACTS"
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\nrawmidi.!default { type hw card 0 }\n' \
    > "$ARTIFACTS/alsa.conf"
export ALSA_CONFIG_PATH="$ARTIFACTS/alsa.conf"

fail() {
    echo "FAIL: $*" >&2
    [ -n "${ARTIFACTS:-}" ] && echo "screenshots and logs kept in $ARTIFACTS" >&2
    exit 1
}

# start_x [WxH]: starts Xvfb on a free display with a screen of WxH (default
# 320x240); kills it (and the game) when the test exits. What an earlier run
# left in ARTIFACTS is removed first.
start_x() {
    mkdir -p "$ARTIFACTS"
    find "$ARTIFACTS" -mindepth 1 -maxdepth 1 ! -name alsa.conf -exec rm -rf {} +
    local fifo="$ARTIFACTS/displayfd"
    # -noreset: without it the server resets whenever its last client leaves
    # (each xdpyinfo or xwininfo below), and a game connecting during that
    # reset finds no display.
    Xvfb -displayfd 1 -noreset -screen 0 "${1:-320x240}x24" -nolisten tcp > "$fifo" 2>"$ARTIFACTS/xvfb.log" &
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

# Ends a game still running (a failed story), then the X server. The game
# goes first, while its display is still there: without it Allegro's exit
# handling can hang, so a game that ignores SIGTERM for 2 s is killed.
stop_all() {
    if [ -n "${GAME_PID:-}" ] && kill -0 "$GAME_PID" 2>/dev/null; then
        kill "$GAME_PID" 2>/dev/null
        local n=0
        while kill -0 "$GAME_PID" 2>/dev/null && [ $n -lt 20 ]; do sleep 0.1; n=$((n + 1)); done
        kill -9 "$GAME_PID" 2>/dev/null
    fi
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    return 0
}

# make_run_dir [WORLD_SOURCE]: a fresh run folder with the datafiles and the
# layer files built from WORLD_SOURCE (default: the default world). The test
# worlds are small on purpose (no goal, a monster at a door): built with
# --force, the problems the check finds go to the log only.
make_run_dir() {
    RUN_DIR="$ARTIFACTS/run"
    rm -rf "$RUN_DIR"
    mkdir -p "$RUN_DIR"
    cp "$GAME_DIR/data.dat" "$GAME_DIR/guy.dat" "$GAME_DIR/monster.dat" "$RUN_DIR/"
    "$WORLD_TOOL" -C "$RUN_DIR" build --force "${1:-$SOURCE_DIR/world}" > "$ARTIFACTS/world-build.log" 2>&1 \
        || fail "world build failed: $(cat "$ARTIFACTS/world-build.log")"
}

# start_game [OPTION...]: starts the game in the run folder with the options
# and waits for its window (through $LAMPLIGHT_WRAPPER, say valgrind, when set).
start_game() {
    (cd "$RUN_DIR" && exec ${LAMPLIGHT_WRAPPER:-} "$LAMPLIGHT" "$@" > "$ARTIFACTS/stdout.log" 2> "$ARTIFACTS/stderr.log") &
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

# quit_with_esc: Esc ends the game, which must exit with status 0.
quit_with_esc() {
    hold Escape 0.3
    wait_game_end "${E2E_END_SECONDS:-5}"
    [ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS, expected 0"
}

game_running() { kill -0 "$GAME_PID" 2>/dev/null; }

# hold KEY... SECONDS: holds the keys together for SECONDS (the game polls
# once a frame, so a tap shorter than a frame can be missed).
hold() {
    local n=$# secs
    eval "secs=\${$n}"
    local keys=""
    while [ $# -gt 1 ]; do keys="$keys $1"; shift; done
    # xdotool ignores a key name it does not know, with status 0: say so
    xdotool keydown $keys 2> "$ARTIFACTS/xdotool.log"
    ! grep -q "No such key" "$ARTIFACTS/xdotool.log" || fail "hold: $(cat "$ARTIFACTS/xdotool.log")"
    sleep "$secs"
    xdotool keyup $keys
    sleep 0.15
}

# shot NAME: a screenshot of the whole display into $ARTIFACTS/NAME.png.
shot() {
    xwd -root -silent | convert xwd:- "$ARTIFACTS/$1.png"
}

# count_colour NAME X Y W H R,G,B: how many pixels of the region have that colour.
count_colour() {
    convert "$ARTIFACTS/$1.png" -crop "$4x$5+$2+$3" +repage \( +clone -fill "rgb($6)" -colorize 100 \) \
        -compose difference -composite -fill white +opaque black -format '%[fx:int(w * h * (1 - mean) + 0.5)]' info:
}

# differing_pixels A AX AY B BX BY W H [X0,Y0,X1,Y1 ...]: how many pixels of
# the W x H region at (AX, AY) of picture A differ from those of the region at
# (BX, BY) of picture B. Each X0,Y0,X1,Y1 is a box (inclusive, relative to the
# regions) left out of the comparison, such as the figure.
differing_pixels() {
    local a="$ARTIFACTS/.cmp-a.png" b="$ARTIFACTS/.cmp-b.png" what="$1 and $4" n box
    convert "$ARTIFACTS/$1.png" -crop "$7x$8+$2+$3" +repage -type TrueColor "PNG24:$a"
    convert "$ARTIFACTS/$4.png" -crop "$7x$8+$5+$6" +repage -type TrueColor "PNG24:$b"
    shift 8
    for box in "$@"; do
        set -- $(echo "$box" | tr , ' ')
        for f in "$a" "$b"; do
            convert "$f" -fill magenta -draw "rectangle $1,$2 $3,$4" "PNG24:$f"
        done
    done
    n=$(compare -metric AE "$a" "$b" null: 2>&1)
    n=${n%% *}
    case "$n" in
        ''|*[!0-9]*) fail "cannot compare $what: $n" ;;
    esac
    echo "$n"
}

# play_world NAME: the world source of one story, made in $ARTIFACTS/world-NAME
# of the grids in tests/e2e/worlds/NAME and the default world's legend; a
# layer that has no grid file there is empty. Sets WORLD to its folder.
play_world() {
    WORLD="$ARTIFACTS/world-$1"
    rm -rf "$WORLD"
    mkdir -p "$WORLD"
    cp "$E2E_DIR/worlds/$1/terrain.txt" "$WORLD/" || fail "no test world $1"
    cp "$SOURCE_DIR/world/legend.txt" "$WORLD/"
    local grid
    for grid in objects.txt monsters.txt; do
        if [ -f "$E2E_DIR/worlds/$1/$grid" ]; then
            cp "$E2E_DIR/worlds/$1/$grid" "$WORLD/"
        else
            # the terrain grid's header and shape, every tile "." (none)
            sed -n '/^size /p; /^origin /p; /^---$/,$ { /^---$/!s/././g; p; }' \
                "$WORLD/terrain.txt" > "$WORLD/$grid"
        fi
    done
}

# world_variant NAME GRID SED_SCRIPT [BASE]: a copy of the world source BASE
# (default WORLD) as $ARTIFACTS/world-NAME with SED_SCRIPT applied to the rows
# of GRID (such as terrain.txt), line n being row n - 1 of the grid: what the
# world should look like after play changed it.
world_variant() {
    local base="${4:-$WORLD}" dest="$ARTIFACTS/world-$1"
    rm -rf "$dest"
    cp -r "$base" "$dest"
    {
        sed '/^---$/q' "$base/$2"
        sed '1,/^---$/d' "$base/$2" | sed "$3"
    } > "$dest/$2"
}

# render_world SOURCE NAME: the world SOURCE drawn with the real art into
# $ARTIFACTS/NAME.png; RENDER_TX, RENDER_TY are the tile at its top-left.
render_world() {
    local dir="$ARTIFACTS/render-$2" out
    rm -rf "$dir"
    mkdir -p "$dir"
    cp "$GAME_DIR/data.dat" "$GAME_DIR/monster.dat" "$dir/"
    "$WORLD_TOOL" -C "$dir" build --force "$1" > "$dir/build.log" 2>&1 || fail "cannot build $1: $(cat "$dir/build.log")"
    out=$("$WORLD_TOOL" -C "$dir" render "$ARTIFACTS/$2.png" 2>&1) || fail "cannot render $1: $out"
    # "OUT.png: tiles 65..81 x 150..166, 272x272 pixels"
    RENDER_TX=$(echo "$out" | sed -n 's/.*tiles \([0-9]*\)\.\..* x .*/\1/p')
    RENDER_TY=$(echo "$out" | sed -n 's/.* x \([0-9]*\)\.\..*/\1/p')
    [ -n "$RENDER_TX" ] && [ -n "$RENDER_TY" ] || fail "unexpected render output: $out"
}

# view_differs SHOT RENDER TX TY [BOX ...]: how many pixels of the play field
# of SHOT differ from the world art of RENDER (made by render_world, whose
# RENDER_TX and RENDER_TY must still hold) seen from the view origin (TX, TY)
# with no sub-tile offset; the BOXes are left out as in differing_pixels.
view_differs() {
    local shot="$1" render="$2" rx=$((($3 - RENDER_TX) * 16)) ry=$((($4 - RENDER_TY) * 16))
    shift 4
    differing_pixels "$shot" 0 0 "$render" "$rx" "$ry" 240 240 "$@"
}

pass() { echo "PASS: $*"; exit 0; }
# skip WHY: this machine cannot run the story (ctest counts it as skipped).
skip() { echo "SKIP: $*"; exit 77; }
