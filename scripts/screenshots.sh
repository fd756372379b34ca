#!/bin/sh
# screenshots.sh [OUT_DIR] -- remakes the README's pictures from the current
# build (default OUT_DIR: docs/). The pictures of play are frames of the
# default world's recording, replayed headless and cut where a picture is
# wanted, so the same frames come out every time; the editor's picture is
# the real game under Xvfb; the map is lamplight-world render; the world in
# Tiled is the real Tiled window under Xvfb, on the export of the world.
# Pictures of the game are enlarged 2x by pixel replication, the map shrunk
# to half. Needs a build (scripts/build.sh) and xvfb, xdotool, imagemagick,
# tiled.
set -e
cd "$(dirname "$0")/.."
ROOT=$(pwd)
OUT=$(cd "${1:-docs}" 2>/dev/null && pwd || (mkdir -p "${1:-docs}" && cd "${1:-docs}" && pwd))
BUILD="${LAMPLIGHT_BUILD:-$ROOT/build}" # where the build is (scripts/build.sh makes build/)
GAME="$BUILD/game"
WORK=$(mktemp -d /tmp/lamplight-shots.XXXXXX)
trap 'kill $XVFB_PID $GAME_PID $TILED_PID $XVFB2_PID 2>/dev/null || true; rm -rf "$WORK"' EXIT
export ALSA_CONFIG_PATH="$WORK/alsa.conf"
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\nrawmidi.!default { type hw card 0 }\n' > "$ALSA_CONFIG_PATH"

# A fresh run folder with the default world.
mkdir "$WORK/run"
cp "$GAME/data.dat" "$GAME/guy.dat" "$GAME/monster.dat" "$BUILD/world-default/"*.map "$WORK/run/"
cd "$WORK/run"
SOLUTION="$ROOT/world/solution.rec"
HEADER=$(grep -c -e '^lamplight-recording' -e '^layer ' "$SOLUTION")

# entry_frame X,Y: the frame at which the solution first enters the room
# whose top-left wall is tile (X, Y), from the replay's room figures.
entry_frame() {
    "$GAME/lamplight" --replay "$SOLUTION" --headless --rooms 2>/dev/null | awk -v room="room=$1" '
        $1 == room && !found { print total; found = 1 }
        $1 ~ /^room=/ { sub("frames=", "", $2); total += $2 }'
}

# frame_picture FRAME NAME: the frame shown after FRAME input steps, 2x.
frame_picture() {
    head -n $((HEADER + $1)) "$SOLUTION" > "$WORK/cut.rec"
    "$GAME/lamplight" --replay "$WORK/cut.rec" --headless --picture "$WORK/$2.bmp" > /dev/null 2>&1 || true
    [ -s "$WORK/$2.bmp" ] || { echo "screenshots.sh: no picture for $2" >&2; exit 1; }
    convert "$WORK/$2.bmp" -sample 200% "PNG24:$OUT/$2.png"
}

frame_picture 12 first-room
# The kennel's four chasers under fire; the dark attic with a slime in the lamp's circle.
frame_picture $(( $(entry_frame 111,136) + 20 )) chasers
frame_picture $(( $(entry_frame 51,106) + 20 )) dark-room

# The terrain editor with its panel: the real game in a 2x window.
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3> "$WORK/display" 2> /dev/null &
XVFB_PID=$!
n=0
while [ ! -s "$WORK/display" ] && [ $n -lt 100 ]; do sleep 0.05; n=$((n + 1)); done
export DISPLAY=":$(head -n1 "$WORK/display")"
"$GAME/lamplight" --scale 2 > /dev/null 2>&1 &
GAME_PID=$!
n=0
until [ "$(xwininfo -root -children 2>/dev/null | grep -c '^ *0x')" -gt 0 ]; do
    sleep 0.1; n=$((n + 1)); [ $n -lt 100 ] || { echo "screenshots.sh: no game window" >&2; exit 1; }
done
sleep 0.5
xdotool mousemove 300 300; sleep 0.2
xdotool keydown Control_L Control_R e; sleep 0.3; xdotool keyup e Control_R Control_L; sleep 0.3
xdotool mousemove 232 328; sleep 0.5 # frame (116, 164): tile (73, 161)
# The editor's picture once two shots 0.3 s apart agree: on a busy machine
# the pointer's tile may not be framed yet at the first.
shot_editor() { xwd -root -silent | convert xwd:- -crop 640x480+0+0 +repage "PNG24:$1"; }
shot_editor "$WORK/editor-a.png"
n=0
while sleep 0.3 && shot_editor "$OUT/terrain-editor.png" &&
    [ "$(compare -metric AE "$WORK/editor-a.png" "$OUT/terrain-editor.png" null: 2>&1)" != 0 ] && [ $n -lt 30 ]; do
    cp "$OUT/terrain-editor.png" "$WORK/editor-a.png"; n=$((n + 1))
done
xdotool keydown Escape; sleep 0.3; xdotool keyup Escape; sleep 0.3
xdotool keydown Escape; sleep 0.3; xdotool keyup Escape
n=0
while kill -0 $GAME_PID 2>/dev/null && [ $n -lt 50 ]; do sleep 0.1; n=$((n + 1)); done

# The whole world.
"$GAME/lamplight-world" render "$WORK/world.png" > /dev/null
convert "$WORK/world.png" -scale 50% "PNG24:$OUT/world.png"

# The world exported and open in Tiled, on a 1280x800 screen of its own:
# the map view widened, the start room's tiles at 100 % (centred from the
# mini-map), the exit tile of the terrain tileset chosen so its code, name
# and rule show, the layers listed. Tiled keeps its settings in $WORK/home.
"$GAME/lamplight-world" export-tiled "$WORK/tiled" > /dev/null
mkdir -m 700 "$WORK/home"
# No news or update check from the network: the picture is the same anywhere.
mkdir -p "$WORK/home/.config/mapeditor.org"
printf '[Install]\nDisplayNews=false\nCheckForUpdates=false\n' > "$WORK/home/.config/mapeditor.org/tiled.conf"
Xvfb -displayfd 4 -screen 0 1280x800x24 -nolisten tcp 4> "$WORK/display2" 2> /dev/null &
XVFB2_PID=$!
n=0
while [ ! -s "$WORK/display2" ] && [ $n -lt 100 ]; do sleep 0.05; n=$((n + 1)); done
export DISPLAY=":$(head -n1 "$WORK/display2")"
HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/home" tiled "$WORK/tiled/world.tmx" > /dev/null 2>&1 &
TILED_PID=$!
n=0
until WINDOW=$(xdotool search --name 'world.tmx' 2> /dev/null | head -n1) && [ -n "$WINDOW" ]; do
    sleep 0.1; n=$((n + 1)); [ $n -lt 300 ] || { echo "screenshots.sh: no Tiled window" >&2; exit 1; }
done
sleep 2
xdotool windowmove "$WINDOW" 0 0 windowsize "$WINDOW" 1280 800; sleep 1
xdotool mousemove 252 31 click 1; sleep 0.5                # close the Project dock
xdotool mousemove 1188 443 click 1; sleep 0.5              # the terrain tileset
xdotool mousemove 576 250 mousedown 1; sleep 0.2           # widen the map view
xdotool mousemove 600 250; sleep 0.1; xdotool mousemove 876 250; sleep 0.2; xdotool mouseup 1; sleep 0.5
xdotool mousemove 1195 785 click --repeat 3 1; sleep 0.2   # zoom 100 %
xdotool type 100; xdotool key Return; sleep 0.8
xdotool mousemove 922 388 click 1; sleep 0.5               # the mini-map: the start room
xdotool mousemove 1093 319 click 1; sleep 0.5
xdotool mousemove 1075 388 click 1; sleep 0.3              # back to the layers
xdotool mousemove 958 593 click 1; sleep 0.5               # the terrain tileset's tile 74, the exit
xdotool mousemove 640 790; sleep 0.8
xwd -root -silent | convert xwd:- -crop 1280x800+0+0 +repage "PNG24:$OUT/tiled.png"
kill $TILED_PID 2> /dev/null || true
echo "pictures written to $OUT"
