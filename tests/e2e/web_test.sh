# The web build in headless Chromium, served on 127.0.0.1: the first room at
# scale 2 equals the native game's at --scale 2 pixel for pixel; a tap far
# shorter than a frame moves the figure one step (the native game's picture
# after one frame of Right) and held arrows walk on; the music plays once a key was pressed (the audio context runs and
# what was played is not silent); a tile painted in the terrain editor is
# still there after the page is reloaded; world/solution.rec replayed in the
# page ends with the native game's end line, exactly; a missing or damaged
# file gives the native game's one line on the page.
. "$E2E_DIR/lib.sh"
SITE=${WEB_SITE:-$SOURCE_DIR/build-web/lamplight-web}
command -v chromium > /dev/null || skip "Chromium is not installed (sh scripts/install-deps.sh web installs it)"
command -v npm > /dev/null || skip "npm is not installed (sh scripts/install-deps.sh web installs it)"
[ -f "$SITE/index.html" ] || skip "no $SITE: sh scripts/web.sh builds it"

# puppeteer-core, as the lock file in tests/e2e/web pins it, kept beside the build.
NODE_DIR=${WEB_NODE_DIR:-$SOURCE_DIR/build-web/test-node}
if ! cmp -s "$E2E_DIR/web/package-lock.json" "$NODE_DIR/package-lock.json" || [ ! -d "$NODE_DIR/node_modules" ]; then
    rm -rf "$NODE_DIR"
    mkdir -p "$NODE_DIR"
    cp "$E2E_DIR/web/package.json" "$E2E_DIR/web/package-lock.json" "$NODE_DIR/"
    (cd "$NODE_DIR" && npm ci --no-audit --no-fund > npm.log 2>&1) || fail "npm ci of puppeteer-core failed: $(tail -5 "$NODE_DIR/npm.log")"
fi

start_x 640x480
make_run_dir
WWW="$ARTIFACTS/www"
mkdir -p "$WWW"
cp -r "$SITE/." "$WWW/"

# What the native game does: its first room at --scale 2, the solution's end
# line, and the line for each bad file (the site's variants below).
start_game --scale 2
shot native-first-room
quit_with_esc
cp "$SOURCE_DIR/world/solution.rec" "$RUN_DIR/"
(cd "$RUN_DIR" && "$LAMPLIGHT" --replay solution.rec --headless > "$ARTIFACTS/native-replay.log" 2>&1) \
    || fail "the native replay of solution.rec failed: $(cat "$ARTIFACTS/native-replay.log")"
NATIVE_END=$(tail -n 1 "$ARTIFACTS/native-replay.log")
# variant NAME FILE [BYTES]: the site and a native run folder with FILE
# missing, or cut to its first BYTES bytes.
variant() {
    local dir="$WWW/$1" native="$ARTIFACTS/native-$1"
    mkdir -p "$dir/game" "$native"
    cp "$WWW/index.html" "$WWW/lamplight.js" "$WWW/lamplight.wasm" "$dir/"
    cp "$WWW/game/"* "$dir/game/"
    cp "$RUN_DIR/"* "$native/"
    if [ -n "${3:-}" ]; then
        head -c "$3" "$WWW/game/$2" > "$dir/game/$2"
        head -c "$3" "$RUN_DIR/$2" > "$native/$2"
    else
        rm "$dir/game/$2" "$native/$2"
    fi
    (cd "$native" && "$LAMPLIGHT" > /dev/null 2> "$ARTIFACTS/native-$1.err")
    [ $? = 1 ] || fail "the native game did not refuse $2 ($1)"
}
variant no_data data.dat
variant short_map map.map 40
variant short_monsters monster.dat 300

# The server, on a free port of 127.0.0.1.
python3 -m http.server 0 --bind 127.0.0.1 --directory "$WWW" > "$ARTIFACTS/http.log" 2>&1 &
SERVER_PID=$!
trap 'kill $SERVER_PID 2>/dev/null; stop_all' EXIT
n=0
until PORT=$(sed -n 's/.* port \([0-9]*\) .*/\1/p' "$ARTIFACTS/http.log" | head -n1) && [ -n "$PORT" ]; do
    sleep 0.1; n=$((n + 1)); [ $n -lt 50 ] || fail "the web server did not start: $(cat "$ARTIFACTS/http.log")"
done

REFUSALS="no_data short_map short_monsters" NODE_PATH="$NODE_DIR/node_modules" \
    node "$E2E_DIR/web/drive.js" "http://127.0.0.1:$PORT/" "$ARTIFACTS" > "$ARTIFACTS/seen.json" 2> "$ARTIFACTS/drive.err" \
    || fail "the browser driver failed: $(tail -5 "$ARTIFACTS/drive.err")"
# seen KEY: a field of what the driver saw, as JSON (nothing when it has none).
seen() {
    node -e 'const s = require(process.argv[1]), v = eval("s." + process.argv[2]); if (v !== undefined) console.log(JSON.stringify(v))' \
        "$ARTIFACTS/seen.json" "$1"
}
[ -z "$(seen error)" ] || fail "in the browser: $(seen error)"
[ -z "$(seen page_errors)" ] || fail "errors in the page: $(seen page_errors)"

# The first room, as the native game showed it.
n=$(differing_pixels native-first-room 0 0 web-first-room 0 0 640 480)
[ "$n" -eq 0 ] || fail "$n pixels of the page's first room differ from the native game's"

# The tap: the same picture as the native game's after one frame of Right
# and two of nothing (its recording made here: the default world's layers,
# as solution.rec names them, and three frames; the end line is not known
# beforehand, so the replay ends non-zero, with its picture written).
(head -n 4 "$SOURCE_DIR/world/solution.rec"; printf 'R\n-\n-\nend=esc frames=3 score=0 hp=0 bombs=0 x=0 y=0 view=0,0\n') > "$RUN_DIR/tap.rec"
(cd "$RUN_DIR" && "$LAMPLIGHT" --replay tap.rec --headless --picture tap.bmp > /dev/null 2>&1)
convert "$RUN_DIR/tap.bmp" -scale 200% "$ARTIFACTS/native-tap.png" || fail "no picture of the native tap"
n=$(differing_pixels native-tap 0 0 web-after-tap 0 0 640 480)
[ "$n" -eq 0 ] || fail "after a tap $n pixels differ from the native game's one step right"
# Held, the figure walks on: the field differs from the tap's by far more.
n=$(differing_pixels web-after-tap 0 0 web-after-hold 0 0 480 480)
[ "$n" -gt 500 ] || fail "holding Right changed only $n pixels of the field"

# Sound (headless Chromium lets a page play before any key, so the resume
# on the first key is not seen here).
[ "$(seen audio.state)" = '"running"' ] || fail "the audio context is $(seen audio.state) after keys"
peak=$(seen audio.peak)
awk -v p="$peak" 'BEGIN { exit !(p > 0.02) }' || fail "what the page played is silent (peak $peak, $(seen audio.blocks) blocks)"

# The painted tile after the reload: the floor tile at (88, 56) differs from
# the first room, and nothing else of the room does.
[ "$(differing_pixels web-first-room 160 96 web-after-reload 160 96 32 32)" -gt 100 ] \
    || fail "the tile painted at (88, 56) is not there after the reload"
n=$(differing_pixels web-first-room 0 0 web-after-reload 0 0 480 480 160,96,191,127)
[ "$n" -eq 0 ] || fail "after the reload $n pixels of the room differ besides the painted tile"

# Download world: the three layers as the game has them, the painted terrain
# among them; Default world: the first room as it was.
for f in map.map obj.map mob.map; do
    [ -s "$ARTIFACTS/downloads/$f" ] || fail "Download world gave no $f"
done
cmp -s "$ARTIFACTS/downloads/obj.map" "$RUN_DIR/obj.map" && cmp -s "$ARTIFACTS/downloads/mob.map" "$RUN_DIR/mob.map" \
    || fail "the downloaded obj.map or mob.map is not the world's"
cmp -s "$ARTIFACTS/downloads/map.map" "$RUN_DIR/map.map" && fail "the downloaded map.map lacks the painted tile"
n=$(differing_pixels web-first-room 0 0 web-after-reset 0 0 480 480)
[ "$n" -eq 0 ] || fail "after Default world $n pixels of the room differ from the first room"

# The solution, replayed in the page, ends as natively.
web_end=$(seen 'replay_stdout[s.replay_stdout.length - 1]')
[ "$web_end" = "\"$NATIVE_END\"" ] || fail "the page's replay ended with $web_end, the native game with [$NATIVE_END]"
[ "$(seen replay_status)" = 0 ] || fail "the page's replay ended with status $(seen replay_status)"

# Bad files: the native game's line on the page, and the game ends with 1.
for v in no_data short_map short_monsters; do
    want=$(head -n 1 "$ARTIFACTS/native-$v.err")
    [ -n "$want" ] || fail "the native game said nothing for $v"
    got=$(seen "refusal_$v.stderr[0]")
    [ "$got" = "$(node -e 'console.log(JSON.stringify(process.argv[1]))' "$want")" ] \
        || fail "$v: the page showed $got, the native game [$want]"
    [ "$(seen "refusal_$v.status")" = 1 ] || fail "$v: the page's game ended with $(seen "refusal_$v.status")"
done
pass "first room and tap as native, sound peak $peak, the tile kept, replay [$NATIVE_END] in $(seen replay_seconds) s"
