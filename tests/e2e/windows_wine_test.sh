# The Windows release under Wine: lamplight.exe from the zip that
# scripts/windows.sh builds starts in a fresh Wine prefix, shows the same
# first room as the native game pixel for pixel, walks on an arrow key, saves
# a tile painted in the terrain editor as a valid layer, and ends on Esc with
# status 0; it does so with no sound device too. Skipped only where Wine
# cannot run at all.
. "$E2E_DIR/lib.sh"
. "$E2E_DIR/editor_lib.sh"
ZIP=${WINDOWS_ZIP:-$SOURCE_DIR/build-windows/lamplight-windows.zip}

command -v wine > /dev/null || skip "Wine is not installed (sh scripts/install-deps.sh windows installs it)"
[ -f "$ZIP" ] || fail "no $ZIP: sh scripts/windows.sh builds it"

# The screen is larger than the game's window, so that Wine can place it
# whole; with no window manager the game's picture is at (160, 120) both
# natively (X11 fullscreen, centred) and under Wine (a centred window).
start_x 640x480
trap 'stop_wine; stop_all' EXIT
X0=160 Y0=120

# The zip unpacked as a player would; a copy without allegro.cfg (which names
# a Windows driver) for the native game.
RUN_DIR="$ARTIFACTS/lamplight"
rm -rf "$RUN_DIR" "$ARTIFACTS/native"
(cd "$ARTIFACTS" && unzip -q "$ZIP") || fail "cannot unpack $ZIP"
for f in lamplight.exe data.dat guy.dat monster.dat map.map obj.map mob.map allegro.cfg README.txt LICENSE.txt; do
    [ -f "$RUN_DIR/$f" ] || fail "the zip has no lamplight/$f"
done
mkdir -p "$ARTIFACTS/native"
cp "$RUN_DIR"/*.dat "$RUN_DIR"/*.map "$ARTIFACTS/native/"

# The native game's first room, the picture to match.
(cd "$ARTIFACTS/native" && exec "$LAMPLIGHT" > "$ARTIFACTS/native-stdout.log" 2> "$ARTIFACTS/native-stderr.log") &
GAME_PID=$!
sleep 1.5
game_running || fail "the native game ended: $(cat "$ARTIFACTS/native-stderr.log")"
shot native-first-room
quit_with_esc

# A fresh Wine prefix (no Mono or Gecko: the game needs neither).
export WINEPREFIX="$ARTIFACTS/wineprefix" WINEDEBUG=fixme-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
stop_wine() { wineserver -k 2> /dev/null; return 0; }
started=$(date +%s)
timeout 120 wine wineboot -i > "$ARTIFACTS/wineboot.log" 2>&1 && timeout 60 wineserver -w \
    || skip "Wine cannot run here: $(tail -n1 "$ARTIFACTS/wineboot.log")"
echo "fresh Wine prefix made in $(($(date +%s) - started)) s"

# lamplight.exe, started from its own folder as Explorer does.
start_wine_game() {
    (cd "$RUN_DIR" && exec wine ./lamplight.exe > "$ARTIFACTS/stdout.log" 2> "$ARTIFACTS/stderr.log") &
    GAME_PID=$!
    started=$(date +%s)
}
start_wine_game

# first_room_shown NAME SECONDS: screenshots as NAME until the game's picture
# equals the native first room; fails after SECONDS.
first_room_shown() {
    local deadline=$(($(date +%s) + $2))
    while :; do
        game_running || fail "lamplight.exe ended: $(cat "$ARTIFACTS/stderr.log")"
        xwininfo -root -children > "$ARTIFACTS/windows.log" 2>&1
        shot "$1"
        [ "$(differing_pixels "$1" $X0 $Y0 native-first-room $X0 $Y0 320 240)" = 0 ] && return 0
        [ "$(date +%s)" -lt $deadline ] || fail "the first room under Wine differs from the native one in \
$(differing_pixels "$1" $X0 $Y0 native-first-room $X0 $Y0 320 240) pixels (see $1.png)"
        sleep 0.25
    done
}
first_room_shown wine-first-room 30
echo "first room equal to the native one $(($(date +%s) - started)) s after start"
window=$(xwininfo -root -children | grep '"lamplight": ("lamplight.exe"' | grep -o '[0-9]*x[0-9]*+[0-9-]*+[0-9-]*' | head -n1)
[ "$window" = "320x240+$X0+$Y0" ] || fail "the game's window is $window, expected 320x240+$X0+$Y0"

# Keys reach a window that has the focus; the pointer stays over it.
xdotool mousemove $((X0 + 160)) $((Y0 + 120))
xdotool search --name '^lamplight$' windowfocus --sync > /dev/null 2>&1 || true
hold Right 0.5
shot wine-walked
# Only the player's rows (160..191 of the play field) may change.
moved=$(differing_pixels wine-walked $X0 $((Y0 + 160)) wine-first-room $X0 $((Y0 + 160)) 240 32)
[ "$moved" -gt 0 ] || fail "Right did not move the player under Wine"
same_region wine-walked $X0 $Y0 wine-first-room $X0 $Y0 240 160 "the play field above the player"
same_region wine-walked $X0 $((Y0 + 192)) wine-first-room $X0 $((Y0 + 192)) 240 48 "the play field below the player"
same_region wine-walked $((X0 + 240)) $Y0 wine-first-room $((X0 + 240)) $Y0 80 240 "the panel after walking"

# The terrain editor: L picks the wall (30), a left click paints it at tile
# (69, 163) (the view starts at tile (66, 151)), Esc saves map.map.
dump_layers before
keep_layers before
# Under Wine a key or button held for a few frames is now and then not seen
# (DirectInput under load): each step is tried up to three times, until the
# editor's panel shows it (the brush, then the tile under the pointer).
panel_changes_on() {
    local try
    shot wine-panel-before
    for try in 1 2 3; do
        "$@"
        shot wine-panel-after
        [ "$(differing_pixels wine-panel-before $((X0 + 240)) $Y0 wine-panel-after $((X0 + 240)) $Y0 80 240)" != 0 ] \
            && return 0
    done
    fail "the editor's panel did not change on: $*"
}
long_click() {
    xdotool mousedown 1
    sleep 0.4
    xdotool mouseup 1
    sleep 0.3
}
open_editor e
sleep 0.5
game_running || fail "lamplight.exe ended when the editor opened"
xdotool mousemove 300 10
sleep 0.1
xdotool mousemove $((X0 + 56)) $((Y0 + 200))
sleep 0.3
panel_changes_on hold l 0.4
panel_changes_on long_click
shot wine-editor
leave_editor
game_running || fail "lamplight.exe ended with the editor"
ls "$RUN_DIR" | grep -q '\.saving-' && fail "the save left a temporary file: $(ls "$RUN_DIR")"
dump_layers after
changes=$(tile_changes before after terrain.txt)
case "$changes" in
    "69 163 "*" 30") ;;
    *) fail "map.map changed at [$changes], expected only tile (69, 163) becoming 30" ;;
esac
same_file before obj.map
same_file before mob.map

hold Escape 0.3
wait_game_end 15 # a message box after a plain game would hold it up here
[ "$GAME_STATUS" -eq 0 ] || fail "lamplight.exe ended with status $GAME_STATUS, expected 0"

# No sound device at all: Wine's ALSA driver is given no default device
# (lib.sh gives every story a silent one). The game plays silent, as the
# native game does without a sound card, in the same first room (the
# painted tile undone).
(cd "$ARTIFACTS" && unzip -qo "$ZIP" lamplight/map.map) || fail "cannot unpack map.map again"
printf 'ctl.!default { type hw card 0 }\nrawmidi.!default { type hw card 0 }\n' > "$ARTIFACTS/alsa-none.conf"
(cd "$RUN_DIR" && ALSA_CONFIG_PATH="$ARTIFACTS/alsa-none.conf" exec wine ./lamplight.exe \
    > "$ARTIFACTS/stdout.log" 2> "$ARTIFACTS/stderr.log") &
GAME_PID=$!
first_room_shown wine-no-sound 30
xdotool mousemove $((X0 + 160)) $((Y0 + 120))
hold Escape 0.3
wait_game_end 15
[ "$GAME_STATUS" -eq 0 ] || fail "lamplight.exe with no sound device ended with status $GAME_STATUS, expected 0"

# Windows gives the exe no console: what it prints is shown in a message box.
# message_box NAME ARGS...: lamplight.exe run with ARGS shows a box (shot as
# NAME), and ends once OK is pressed; sets GAME_STATUS.
message_box() {
    local name=$1 deadline=$(($(date +%s) + 30))
    shift
    (cd "$RUN_DIR" && exec wine ./lamplight.exe "$@" > "$ARTIFACTS/$name-stdout.log" 2> "$ARTIFACTS/$name-stderr.log") &
    GAME_PID=$!
    # The box is a small window of the exe's own, neither Allegro's hidden
    # 110x2 window nor the 320x240 game.
    local box=""
    until [ -n "$box" ]; do
        game_running || fail "lamplight.exe $* ended without a message box"
        [ "$(date +%s)" -lt $deadline ] || fail "no message box for lamplight.exe $*"
        sleep 0.3
        box=$(xwininfo -root -children 2> /dev/null | grep '"lamplight": ("lamplight.exe"' \
            | grep -v -e ' 110x2+' -e ' 320x240+' | grep -o '[0-9]*x[0-9]*+[0-9]*+[0-9]*' | head -n1)
    done
    sleep 0.5
    shot "$name"
    # With no window manager the keyboard follows the pointer: into the box, then OK.
    echo "$box" | tr 'x+' '  ' | { read -r w h x y; xdotool mousemove $((x + w / 2)) $((y + h / 2)); }
    sleep 0.3
    xdotool key Return
    wait_game_end 15
}
message_box version-box --version
[ "$GAME_STATUS" -eq 0 ] || fail "--version ended with status $GAME_STATUS"
mv "$RUN_DIR/data.dat" "$RUN_DIR/data.dat.away"
message_box missing-datafile-box
mv "$RUN_DIR/data.dat.away" "$RUN_DIR/data.dat"
[ "$GAME_STATUS" -eq 1 ] || fail "a missing data.dat ended with status $GAME_STATUS, expected 1"
pass "under Wine: first room equal to the native one, walked, saved a painted tile ($changes), ended with 0, also with no sound device; --version and a missing data.dat shown in message boxes"
