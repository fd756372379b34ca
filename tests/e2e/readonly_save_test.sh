# A run folder the game cannot write: each of the three editors paints and
# saves; every save fails, the old layer file stays byte for byte, one line
# on standard error names the file, and the game goes on with the edits in
# memory until Esc ends it with 0.
. "$E2E_DIR/lib.sh"
. "$E2E_DIR/editor_lib.sh"
start_x
play_world editor
make_run_dir "$WORLD"
keep_layers before
chmod 755 "$RUN_DIR"
chmod 644 "$RUN_DIR"/*

# Root writes wherever it likes, whatever the folder's mode: run the game as
# nobody in a folder owned by root. Anyone else gets a folder of mode 555.
AS=""
SCRATCH=""
if [ "$(id -u)" -eq 0 ]; then
    AS="setpriv --reuid=65534 --regid=65534 --clear-groups"
    if ! $AS sh -c "test -r '$RUN_DIR/data.dat' && test -x '$LAMPLIGHT'"; then
        # The build folder is closed to nobody: play from a copy in /tmp.
        SCRATCH=$(mktemp -d /tmp/lamplight-readonly.XXXXXX)
        mkdir "$SCRATCH/run" "$SCRATCH/bin"
        cp "$RUN_DIR"/* "$SCRATCH/run/"
        cp "$LAMPLIGHT" "$SCRATCH/bin/lamplight"
        cp "$ALSA_CONFIG_PATH" "$SCRATCH/alsa.conf"
        export ALSA_CONFIG_PATH="$SCRATCH/alsa.conf"
        chmod -R a+rX "$SCRATCH"
        RUN_DIR="$SCRATCH/run"
        LAMPLIGHT="$SCRATCH/bin/lamplight"
        trap 'stop_all; rm -rf "$SCRATCH"' EXIT
    fi
else
    chmod 555 "$RUN_DIR"
    trap 'stop_all; chmod 755 "$RUN_DIR"' EXIT # so that the next run can clear it
fi
if $AS sh -c "touch '$RUN_DIR/probe'" 2>/dev/null; then
    rm -f "$RUN_DIR/probe"
    fail "the game could write its run folder: this story would prove nothing"
fi

# lib.sh's start_game, with the game run as the unprivileged user.
(cd "$RUN_DIR" && exec $AS "$LAMPLIGHT" > "$ARTIFACTS/stdout.log" 2> "$ARTIFACTS/stderr.log") &
GAME_PID=$!
n=0
until [ "$(xwininfo -root -children 2>/dev/null | grep -c '^ *0x')" -gt 0 ]; do
    game_running || fail "the game ended before opening a window: $(cat "$ARTIFACTS/stderr.log")"
    sleep 0.1; n=$((n + 1)); [ $n -lt 100 ] || fail "no window after 10 s"
done
sleep 0.5
shot game-before

# The editor world's view: tile (66 + c, 151 + r) at play-field pixel (16c, 16r).
open_editor e
hold l 0.2
point_at 56 200 # a wall at (69, 163)
click 1
leave_editor
game_running || fail "the game ended after the terrain editor's failed save"

open_editor o
point_at 56 184 # a coin at (69, 162)
click 1
leave_editor
game_running || fail "the game ended after the object editor's failed save"

open_editor m
point_at 152 24 # a giant at (75, 152)
click 1
shot monster-editor
leave_editor
game_running || fail "the game ended after the monster editor's failed save"
shot_game game-after

for f in map.map obj.map mob.map; do
    same_file before "$f"
done
[ "$(ls -A "$RUN_DIR" | wc -l)" -eq 6 ] || fail "stray files in the run folder: $(ls -A "$RUN_DIR")"
[ "$(grep -c . "$ARTIFACTS/stderr.log")" -eq 3 ] \
    || fail "expected three lines on standard error, one per save: $(cat "$ARTIFACTS/stderr.log")"
for f in map.map obj.map mob.map; do
    [ "$(grep -c "^$f: " "$ARTIFACTS/stderr.log")" -eq 1 ] \
        || fail "no one line about $f on standard error: $(cat "$ARTIFACTS/stderr.log")"
done

# Nothing painted is lost while the game runs: the wall, the coin and the
# giant are on the screen (compared with the wall at (67, 163), the coin at
# (67, 162) and the monster editor's brush preview).
same_region game-after 48 192 game-after 16 192 16 16 "the painted wall"
same_region game-after 48 176 game-after 16 176 16 16 "the placed coin"
same_region game-after 144 16 monster-editor 0 0 82 130 "the placed giant"

sleep 0.5
game_running || fail "the game stopped after the failed saves"
quit_with_esc
pass "three failed saves kept their files and said so: $(tr '\n' '|' < "$ARTIFACTS/stderr.log")"
