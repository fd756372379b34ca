# The run folder on a full disk (a small tmpfs, filled): the terrain editor
# paints and saves; the save fails, map.map stays byte for byte, one line
# names it, and the game goes on, its panel saying the edits are unsaved.
# The editor opened again shows them, and once space is free its Esc saves
# them. Needs root to mount; skipped otherwise.
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
dump_layers before
dd if=/dev/zero of="$RUN_DIR/filler" bs=64k 2>/dev/null
[ "$(df --output=avail "$RUN_DIR" | tail -1)" -eq 0 ] || fail "the disk is not full"

start_game
shot game-before
open_editor e
hold l 0.2
point_at 56 200
click 1
leave_editor
game_running || fail "the game ended after the failed save"
same_file before map.map
grep -q "^map.map: not saved: writing failed: No space left on device; the old file is kept$" "$ARTIFACTS/stderr.log" \
    || fail "no line about the failed save: $(cat "$ARTIFACTS/stderr.log")"
[ "$(grep -c . "$ARTIFACTS/stderr.log")" -eq 1 ] || fail "expected one line: $(cat "$ARTIFACTS/stderr.log")"
[ "$(ls "$RUN_DIR" | grep -c saving)" -eq 0 ] || fail "a temporary file was left: $(ls "$RUN_DIR")"
shot_game unsaved
other_region game-before 240 200 unsaved 240 200 80 40 "the panel does not say the edits are unsaved"

rm "$RUN_DIR/filler"
open_editor e
leave_editor
dump_layers after
expect_changes before after terrain.txt "69 163 72 30"
shot_game saved
same_region game-before 240 0 saved 240 0 80 240 "the panel still says unsaved"
quit_with_esc
pass "a save on a full disk kept map.map and the edits, which the next Esc saved"
