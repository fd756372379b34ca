# The run folder on a full disk (a small tmpfs, filled): the terrain editor
# paints and saves; the save fails, map.map stays byte for byte, one line
# names it, and the game goes on. Needs root to mount; skipped otherwise.
. "$E2E_DIR/lib.sh"
. "$E2E_DIR/editor_lib.sh"
[ "$(id -u)" -eq 0 ] || skip "mounting a tmpfs needs root"
start_x
make_run_dir
mkdir -p "$ARTIFACTS/world"
mv "$RUN_DIR"/* "$ARTIFACTS/world/"
mount -t tmpfs -o size=4m tmpfs "$RUN_DIR" 2>"$ARTIFACTS/mount.log" || skip "mounting a tmpfs was refused: $(cat "$ARTIFACTS/mount.log")"
trap 'stop_all; umount "$RUN_DIR"' EXIT
cp "$ARTIFACTS/world"/* "$RUN_DIR/"
keep_layers before
dd if=/dev/zero of="$RUN_DIR/filler" bs=64k 2>/dev/null
[ "$(df --output=avail "$RUN_DIR" | tail -1)" -eq 0 ] || fail "the disk is not full"

start_game
open_editor e
point_at 56 200
click 1
leave_editor
game_running || fail "the game ended after the failed save"
same_file before map.map
grep -q "^map.map: not saved: writing failed: No space left on device; the old file is kept$" "$ARTIFACTS/stderr.log" \
    || fail "no line about the failed save: $(cat "$ARTIFACTS/stderr.log")"
[ "$(grep -c . "$ARTIFACTS/stderr.log")" -eq 1 ] || fail "expected one line: $(cat "$ARTIFACTS/stderr.log")"
[ "$(ls "$RUN_DIR" | grep -c saving)" -eq 0 ] || fail "a temporary file was left: $(ls "$RUN_DIR")"
quit_with_esc
pass "a save on a full disk kept map.map and said so"
