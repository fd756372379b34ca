# The web build in headless Chromium, served on 127.0.0.1: the first room at
# scale 2 equals the native game's at --scale 2 pixel for pixel; a tap far
# shorter than a frame moves the figure one step (the native game's picture
# after one frame of Right) and held arrows walk on; the music plays once a
# key was pressed (the audio context runs and what was played is not silent);
# a tile painted in the terrain editor is still there after the page is
# reloaded, and in the world the page downloads; Default world brings the
# first room back; world/solution.rec replayed in the page ends with the
# native game's end line, exactly; a missing or damaged file gives the native
# game's one line on the page.
. "$E2E_DIR/lib.sh"
SITE=${WEB_SITE:-$SOURCE_DIR/build-web/lamplight-web}
command -v chromium > /dev/null || skip "Chromium is not installed (sh scripts/install-deps.sh web installs it)"
command -v npm > /dev/null || skip "npm is not installed (sh scripts/install-deps.sh web installs it)"
[ -f "$SITE/index.html" ] || skip "no $SITE: sh scripts/web.sh builds it"

# puppeteer-core, as the lock file in tests/e2e/web pins it, kept beside the build.
NODE_DIR=${WEB_NODE_DIR:-$SOURCE_DIR/build-web/test-node}
if ! cmp -s "$E2E_DIR/web/package-lock.json" "$NODE_DIR/package-lock.json" || [ ! -d "$NODE_DIR/node_modules" ]; then
    mkdir -p "$NODE_DIR"
    cp "$E2E_DIR/web/package.json" "$E2E_DIR/web/package-lock.json" "$NODE_DIR/"
    (cd "$NODE_DIR" && npm ci --no-audit --no-fund > npm.log 2>&1) || fail "npm ci of puppeteer-core failed: $(tail -5 "$NODE_DIR/npm.log")"
fi

start_x 640x480
make_run_dir
WWW="$ARTIFACTS/www"
cp -r "$SITE" "$WWW"

# What the native game does: its first room at --scale 2, the solution's end
# line, and its picture after one frame of Right and two of nothing (a
# recording of the default world's layers, as solution.rec names them; its
# end line is not known beforehand, so that replay ends non-zero).
start_game --scale 2
shot native-first-room
quit_with_esc
cd "$RUN_DIR"
cp "$SOURCE_DIR/world/solution.rec" .
(head -n 4 solution.rec; printf 'R\n-\n-\nend=esc frames=3 score=0 hp=0 bombs=0 x=0 y=0 view=0,0\n') > tap.rec
"$LAMPLIGHT" --replay solution.rec --headless > "$ARTIFACTS/native-replay.log" 2>&1 \
    || fail "the native replay of solution.rec failed: $(cat "$ARTIFACTS/native-replay.log")"
"$LAMPLIGHT" --replay tap.rec --headless --picture tap.bmp > /dev/null 2>&1
convert tap.bmp -scale 200% "$ARTIFACTS/native-tap.png" || fail "no picture of the native tap"
cd "$ARTIFACTS"

# The bad files: the site and a native run folder each with FILE missing, or
# cut to its first BYTES bytes, and the native game's line for it.
for bad in "no_data data.dat" "short_map map.map 40" "short_monsters monster.dat 300"; do
    set -- $bad
    cp -r "$SITE" "$WWW/$1"
    cp -r "$RUN_DIR" "native-$1"
    if [ -n "${3:-}" ]; then
        truncate -s "$3" "$WWW/$1/game/$2" "native-$1/$2"
    else
        rm "$WWW/$1/game/$2" "native-$1/$2"
    fi
    (cd "native-$1" && "$LAMPLIGHT" > /dev/null 2> "../native-$1.err")
    [ $? = 1 ] || fail "the native game did not refuse $2 ($1)"
done
REFUSALS="no_data short_map short_monsters"

# The server, on a free port of 127.0.0.1.
python3 -m http.server 0 --bind 127.0.0.1 --directory "$WWW" > http.log 2>&1 &
SERVER_PID=$!
trap 'kill $SERVER_PID 2>/dev/null; stop_all' EXIT
timeout 5 sh -c 'until grep -q " port " http.log; do sleep 0.1; done' || fail "the web server did not start: $(cat http.log)"
PORT=$(sed -n 's/.* port \([0-9]*\) .*/\1/p' http.log | head -n1)

REFUSALS="$REFUSALS" NODE_PATH="$NODE_DIR/node_modules" \
    node "$E2E_DIR/web/drive.js" "http://127.0.0.1:$PORT/" "$ARTIFACTS" > seen.json 2> drive.err \
    || fail "the browser driver failed: $(tail -5 drive.err)"
# seen KEY: a field of what the driver saw, as JSON (nothing when it has none).
seen() {
    node -e 'const s = require(process.argv[1]), v = eval("s." + process.argv[2]); if (v !== undefined) console.log(JSON.stringify(v))' \
        "$ARTIFACTS/seen.json" "$1"
}
[ -z "$(seen error)$(seen page_errors)" ] || fail "in the browser: $(seen error) $(seen page_errors)"

# same_picture A B WHAT [BOX]: the 640x480 pictures A and B are alike (but
# for the box, as in differing_pixels).
same_picture() {
    n=$(differing_pixels "$1" 0 0 "$2" 0 0 640 480 ${4:-})
    [ "$n" -eq 0 ] || fail "$3: $n pixels differ between $1 and $2"
}
same_picture native-first-room web-first-room "the page's first room"
same_picture native-tap web-after-tap "after a tap, one step right"
# Held, the figure walks on: the field differs from the tap's by far more.
n=$(differing_pixels web-after-tap 0 0 web-after-hold 0 0 480 480)
[ "$n" -gt 500 ] || fail "holding Right changed only $n pixels of the field"

# Sound (headless Chromium lets a page play before any key, so the resume
# on the first key is not seen here).
[ "$(seen audio.state)" = '"running"' ] || fail "the audio context is $(seen audio.state) after keys"
peak=$(seen audio.peak)
awk -v p="$peak" 'BEGIN { exit !(p > 0.02) }' || fail "what the page played is silent (peak $peak, $(seen audio.blocks) blocks)"

# The painted tile after the reload: the floor tile at (88, 56) differs from
# the first room, and nothing else does.
[ "$(differing_pixels web-first-room 160 96 web-after-reload 160 96 32 32)" -gt 100 ] \
    || fail "the tile painted at (88, 56) is not there after the reload"
same_picture web-first-room web-after-reload "the reloaded room besides the painted tile" 160,96,191,127
# Download world: the three layers as the game has them, the painted terrain
# among them; Default world: the first room as it was.
cmp -s downloads/obj.map "$RUN_DIR/obj.map" && cmp -s downloads/mob.map "$RUN_DIR/mob.map" \
    || fail "the downloaded obj.map or mob.map is not the world's"
[ -s downloads/map.map ] && ! cmp -s downloads/map.map "$RUN_DIR/map.map" \
    || fail "the downloaded map.map is missing or lacks the painted tile"
same_picture web-first-room web-after-reset "the room after Default world"

# The solution, replayed in the page, ends as natively.
native_end=$(tail -n 1 native-replay.log)
[ "$(seen 'replay_stdout[s.replay_stdout.length - 1]')" = "\"$native_end\"" ] \
    || fail "the page's replay ended with $(seen 'replay_stdout[s.replay_stdout.length - 1]'), the native game with [$native_end]"
[ "$(seen replay_status)" = 0 ] || fail "the page's replay ended with status $(seen replay_status)"

# Bad files: the native game's line on the page, and the game ends with 1.
for v in $REFUSALS; do
    want=$(head -n 1 "native-$v.err" | node -e 'console.log(JSON.stringify(require("fs").readFileSync(0, "utf8").replace(/\n$/, "")))')
    [ "$want" != '""' ] || fail "the native game said nothing for $v"
    [ "$(seen "refusal_$v.stderr[0]")" = "$want" ] || fail "$v: the page showed $(seen "refusal_$v.stderr[0]"), the native game $want"
    [ "$(seen "refusal_$v.status")" = 1 ] || fail "$v: the page's game ended with $(seen "refusal_$v.status")"
done
pass "first room and tap as native, sound peak $peak, the tile kept, replay [$native_end] in $(seen replay_seconds) s"
