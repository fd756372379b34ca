# Installed by `cmake --install` into a folder of its own, then played as a
# new player: the launcher makes the player's folder, keeps an edited layer,
# and --reset-world puts the default world back (also under $XDG_DATA_HOME).
# Then the launcher's edges, with a stand-in game: no home, a relative
# XDG_DATA_HOME, a read-only world, options and their files, a layer cut
# short or a pipe, a killed --reset-world, a folder as the .bak, and first
# starts at once.
. "$E2E_DIR/lib.sh"
. "$E2E_DIR/launcher_lib.sh"
start_x
PREFIX="$ARTIFACTS/prefix"
cmake --install "${GAME_DIR%/game}" --prefix "$PREFIX" > "$ARTIFACTS/install.log" 2>&1 \
    || fail "cmake --install failed: $(tail -n 3 "$ARTIFACTS/install.log")"
player_story "$PREFIX/games/lamplight" "$PREFIX/share/lamplight"
# A player who keeps their data elsewhere.
XDG_DATA_HOME="$ARTIFACTS/xdg" "$PREFIX/games/lamplight" --reset-world > "$ARTIFACTS/xdg.log" 2>&1 \
    || fail "--reset-world with XDG_DATA_HOME failed: $(cat "$ARTIFACTS/xdg.log")"
for f in map.map obj.map mob.map; do
    cmp -s "$PREFIX/share/lamplight/$f" "$ARTIFACTS/xdg/lamplight/$f" || fail "no $f in \$XDG_DATA_HOME/lamplight"
done

# The launcher's edges, with a stand-in for the game that prints its folder
# and options: LAUNCH runs the installed launcher beside it.
FAKE="$ARTIFACTS/fake"
rm -rf "$FAKE" && mkdir -p "$FAKE/games" "$FAKE/lib/games/lamplight" "$FAKE/share"
cp "$PREFIX/games/lamplight" "$FAKE/games/"
ln -s "$PREFIX/share/lamplight" "$FAKE/share/lamplight"
printf '#!/bin/sh\necho "$(pwd) $*"\n' > "$FAKE/lib/games/lamplight/lamplight"
chmod +x "$FAKE/lib/games/lamplight/lamplight"
LAUNCH="$FAKE/games/lamplight"
H="$ARTIFACTS/edge-home" P="$ARTIFACTS/edge-home/.local/share/lamplight"
# edge WHAT STATUS PATTERN COMMAND...: COMMAND ends with STATUS and prints a
# line matching PATTERN.
edge() {
    local what=$1 want=$2 pattern=$3 status=0
    shift 3
    "$@" > "$ARTIFACTS/edge.log" 2>&1 || status=$?
    [ "$status" = "$want" ] && grep -q -- "$pattern" "$ARTIFACTS/edge.log" \
        || fail "$what: status $status, expected $want and \"$pattern\": $(cat "$ARTIFACTS/edge.log")"
}
whole_world() { for f in map.map obj.map mob.map; do cmp -s "$PREFIX/share/lamplight/$f" "$P/$f" || fail "$1: $P/$f"; done; }
rm -rf "$H" "$ARTIFACTS/rel" && mkdir -p "$H"
unset XDG_DATA_HOME
edge "HOME unset" 1 "no folder for your world" env -u HOME "$LAUNCH"
edge "HOME empty" 1 "no folder for your world" env HOME= "$LAUNCH"
edge "a relative XDG_DATA_HOME" 0 "^$P --scale auto --summary$" env -C "$ARTIFACTS" HOME="$H" XDG_DATA_HOME=rel "$LAUNCH"
[ ! -e "$ARTIFACTS/rel" ] || fail "the launcher used a relative XDG_DATA_HOME"
export HOME="$H"
# A complete world in a folder the player may not write to (root writes
# anywhere: it is played as nobody), made before the legend was linked.
rm "$P/legend.txt"
if [ "$(id -u)" -eq 0 ]; then
    edge "a read-only world" 0 "^$P --scale auto --summary$" setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$H" "$LAUNCH"
else
    chmod a-w "$P" && edge "a read-only world" 0 "^$P --scale auto --summary$" "$LAUNCH"
    chmod u+w "$P"
fi
# Files named from the folder the player is in; the window kept unless a
# screen option is chosen.
edge "--record" 0 "^$P --scale auto --summary --record $ARTIFACTS/run.rec$" env -C "$ARTIFACTS" "$LAUNCH" --record run.rec
edge "--fullscreen" 0 "^$P --summary --fullscreen$" "$LAUNCH" --fullscreen
edge "--replay --headless" 0 "^$P --replay $ARTIFACTS/r.rec --headless --picture /p.bmp$" \
    env -C "$ARTIFACTS" "$LAUNCH" --replay r.rec --headless --picture /p.bmp
# A layer cut short (a copy stopped half-way) gets a hint; one that is not a
# file (a pipe would hold the game up) stops the start.
head -c 1000 "$PREFIX/share/lamplight/map.map" > "$P/map.map"
edge "a layer cut short" 0 "map.map is cut short; lamplight --reset-world" "$LAUNCH"
rm "$P/map.map" && mkfifo "$P/map.map"
edge "a pipe as a layer" 1 "map.map is not a file" timeout 10 "$LAUNCH"
edge "--reset-world with a pipe as a layer" 1 "map.map is not a file" timeout 10 "$LAUNCH" --reset-world
rm "$P/map.map" && cp "$PREFIX/share/lamplight/map.map" "$P/"
# --reset-world stopped in the middle of its copy (cp killed with the whole
# launcher), then again: the edited layer is whole in obj.map or obj.map.bak.
printf 'x' >> "$P/obj.map"
cp "$P/obj.map" "$ARTIFACTS/edited.map"
mkdir -p "$FAKE/bin"
printf '#!/bin/sh\nhead -c 100 "$1" > "$2"\nkill -KILL 0\n' > "$FAKE/bin/cp"
chmod +x "$FAKE/bin/cp"
PATH="$FAKE/bin:$PATH" setsid -w "$LAUNCH" --reset-world > /dev/null 2>&1 || true
edge "--reset-world after a killed one" 0 "the default world is back" "$LAUNCH" --reset-world
whole_world "after a killed --reset-world"
cmp -s "$ARTIFACTS/edited.map" "$P/obj.map.bak" || fail "a killed --reset-world lost the edited obj.map"
# A .bak that is a folder: nothing moved.
cp "$ARTIFACTS/edited.map" "$P/obj.map" && rm "$P/obj.map.bak" && mkdir "$P/obj.map.bak"
edge "a folder as the .bak" 1 "obj.map.bak is not a file; obj.map was not replaced" "$LAUNCH" --reset-world
cmp -s "$ARTIFACTS/edited.map" "$P/obj.map" && [ -z "$(ls "$P/obj.map.bak")" ] || fail "--reset-world moved obj.map"
# First starts at once, three at a time: each ends well with a whole world.
round=0
while [ $round -lt 40 ]; do
    rm -rf "$H/.local"
    pids=
    for i in 1 2 3; do "$LAUNCH" > "$ARTIFACTS/race-$i.log" 2>&1 & pids="$pids $!"; done
    for pid in $pids; do wait "$pid" || fail "round $round: a first start at once failed: $(cat "$ARTIFACTS"/race-*.log)"; done
    whole_world "round $round of first starts at once"
    round=$((round + 1))
done
pass "installed, started through the launcher, an edited layer kept, the default world put back; its edges held"
