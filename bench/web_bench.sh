#!/bin/sh
# web_bench.sh -- the web build beside the native game, in one run: the bytes
# the page downloads before it plays, the time from the page's start to its
# first frame of play, and the frame cost (the program's running time between
# two yields to the browser, averaged over world/solution.rec replayed in the
# page) against the native game's (the same replay headless, per frame).
# Needs scripts/web.sh and scripts/build.sh run first, and the web story run
# once (it installs puppeteer-core into build-web/test-node).
set -e
cd "$(dirname "$0")/.."
ROOT=$(pwd)
SITE=$ROOT/build-web/lamplight-web
NODE_DIR=$ROOT/build-web/test-node
WORK=$ROOT/build-web/bench
[ -f "$SITE/index.html" ] || { echo "web_bench.sh: no $SITE (sh scripts/web.sh builds it)" >&2; exit 1; }
[ -d "$NODE_DIR/node_modules" ] || { echo "web_bench.sh: no puppeteer-core (ctest -R e2e.web installs it)" >&2; exit 1; }
rm -rf "$WORK"
mkdir -p "$WORK/run"
cp "$SITE/game/"* "$WORK/run/"

# The native game: five headless replays, the fastest.
best=""
for i in 1 2 3 4 5; do
    t0=$(date +%s%N)
    (cd "$WORK/run" && "$ROOT/build/game/lamplight" --replay solution.rec --headless > native.log)
    t=$(( $(date +%s%N) - t0 ))
    [ -z "$best" ] || [ "$t" -lt "$best" ] && best=$t
done
frames=$(tail -n 1 "$WORK/run/native.log" | sed 's/.* frames=\([0-9]*\) .*/\1/')

python3 -m http.server 0 --bind 127.0.0.1 --directory "$SITE" > "$WORK/http.log" 2>&1 &
SERVER=$!
trap 'kill $SERVER 2>/dev/null' EXIT
until PORT=$(sed -n 's/.* port \([0-9]*\) .*/\1/p' "$WORK/http.log" | head -n1) && [ -n "$PORT" ]; do sleep 0.1; done
DRIVE=bench NODE_PATH="$NODE_DIR/node_modules" node tests/e2e/web/drive.js "http://127.0.0.1:$PORT/" "$WORK" > "$WORK/seen.json"
node -e '
const s = require(process.argv[1]), native_ns = +process.argv[2], frames = +process.argv[3];
if (s.error) { console.error(s.error); process.exit(1); }
const [[ms0, y0], [ms1, y1]] = s.busy;
const web_us = (ms1 - ms0) * 1000 / (y1 - y0), native_us = native_ns / 1000 / frames;
console.log(`page download:           ${(s.download_bytes / 1024).toFixed(0)} KiB`);
console.log(`time to the first frame: ${s.first_frame_ms.toFixed(0)} ms`);
console.log(`frame cost, web:         ${web_us.toFixed(0)} us (${y1 - y0} frames of the replay, canvas drawn)`);
console.log(`frame cost, native:      ${native_us.toFixed(1)} us (headless, ${frames} frames, fastest of 5)`);
console.log(`web / native:            ${(web_us / native_us).toFixed(1)} x`);
console.log(`the replay ended:        ${s.replay_stdout[s.replay_stdout.length - 1]}`);
' "$WORK/seen.json" "$best" "$frames"
