# The README's pictures are the game as it is: scripts/screenshots.sh runs
# on the current build, and each picture it makes equals the one in docs/
# pixel for pixel. A change to the game's look (or to the default world)
# without new pictures fails here: run scripts/screenshots.sh and commit docs/.
# Tiled's window (tiled.png) is Tiled's drawing, whose timing under load is
# not ours: it must be made, at its size, and is compared by eye.
set -u
SOURCE_DIR="${SOURCE_DIR:-$(cd "$(dirname "$0")/.." && pwd)}"
OUT=$(mktemp -d /tmp/lamplight-docs.XXXXXX)
trap 'rm -rf "$OUT"' EXIT
sh "$SOURCE_DIR/scripts/screenshots.sh" "$OUT" > "$OUT/log" 2>&1 || { cat "$OUT/log"; echo "FAIL: screenshots.sh failed"; exit 1; }
failed=0
for picture in first-room chasers dark-room terrain-editor world tiled; do
    made="$OUT/$picture.png" kept="$SOURCE_DIR/docs/$picture.png"
    [ -f "$made" ] || { echo "FAIL: screenshots.sh made no $picture.png"; failed=1; continue; }
    [ -f "$kept" ] || { echo "FAIL: docs/$picture.png is missing"; failed=1; continue; }
    differ=$(compare -metric AE "$made" "$kept" null: 2>&1) || true
    [ "$picture" != tiled ] || differ=$(identify -format '%wx%h' "$made" | sed 's/^1280x800$/0/')
    if [ "$differ" != "0" ]; then
        echo "FAIL: docs/$picture.png differs from the game in $differ pixels: run scripts/screenshots.sh"
        failed=1
    fi
done
[ $failed -eq 0 ] && echo "PASS: the six pictures in docs/ are the game's"
exit $failed
