# launcher_lib.sh -- the installed game started through its launcher, as a
# player with a fresh home folder would. Source after lib.sh; needs start_x.

# The launcher passes --summary: after Esc the figures wait for a key.
quit_past_summary() {
    hold Escape 0.3
    hold space 0.2
    wait_game_end 5
    [ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS, expected 0"
}

# player_story LAUNCHER DATA_DIR: LAUNCHER (with the game's data in DATA_DIR)
# makes the player's folder with the default world's three layers and shows
# the first room; Esc ends it with 0. A layer changed in between (as an
# editor's save would) is kept and shown by the next start; --reset-world
# puts the default back and keeps the changed one as .bak; the world tool
# dumps it in the world's own characters. Sets PLAYER_DIR.
player_story() {
    local launcher="$1" data="$2" f
    export HOME="$ARTIFACTS/home"
    unset XDG_DATA_HOME
    rm -rf "$HOME" && mkdir -p "$HOME"
    PLAYER_DIR="$HOME/.local/share/lamplight"
    LAMPLIGHT="$launcher"
    RUN_DIR="$HOME" # where the launcher is started; it runs the game in PLAYER_DIR

    render_world "$SOURCE_DIR/world" art
    start_game
    for f in map.map obj.map mob.map; do
        cmp -s "$data/$f" "$PLAYER_DIR/$f" || fail "$PLAYER_DIR/$f is not the default world's"
    done
    shot first-start
    n=$(view_differs first-start art 66 151 120,160,143,191)
    [ "$n" -eq 0 ] || fail "first start: $n pixels of the play field differ from the start room's art"
    quit_past_summary
    # controls.cfg: written on the first start with the game's own keys.
    local game defaults
    game="$(dirname "$(readlink -f "$launcher")")/$(sed -n 's|^game="$here/\(.*\)"$|\1|p' "$launcher")"
    defaults=$(cd "$ARTIFACTS" && "$game" --controls | grep -v '^# gamepad\|^# ignored')
    [ "$(grep -v '^#' "$PLAYER_DIR/controls.cfg")" = "$(echo "$defaults" | grep -v '^#')" ] \
        || fail "the first start's controls.cfg is not the game's own keys: $(cat "$PLAYER_DIR/controls.cfg")"
    printf '[keys]\nshoot = X\n' > "$PLAYER_DIR/controls.cfg"

    # The start room's objects taken away, as the object editor would save it.
    WORLD="$SOURCE_DIR/world"
    world_variant no-objects objects.txt '31,45 s/[^.]/./g'
    render_world "$ARTIFACTS/world-no-objects" art-no-objects
    cp "$ARTIFACTS/render-art-no-objects/obj.map" "$PLAYER_DIR/obj.map"
    cp "$PLAYER_DIR/obj.map" "$ARTIFACTS/edited-obj.map"
    start_game
    shot second-start
    n=$(view_differs second-start art-no-objects 66 151 120,160,143,191)
    [ "$n" -eq 0 ] || fail "second start: $n pixels differ from the room without its objects"
    quit_past_summary
    cmp -s "$ARTIFACTS/edited-obj.map" "$PLAYER_DIR/obj.map" || fail "the launcher changed the player's obj.map"

    "$launcher" --reset-world > "$ARTIFACTS/reset.log" 2>&1 || fail "--reset-world failed: $(cat "$ARTIFACTS/reset.log")"
    [ "$(grep -c replaced "$ARTIFACTS/reset.log")" -eq 1 ] && grep -q "replaced.*obj.map" "$ARTIFACTS/reset.log" \
        || fail "--reset-world should say it replaced obj.map and only that: $(cat "$ARTIFACTS/reset.log")"
    cmp -s "$data/obj.map" "$PLAYER_DIR/obj.map" || fail "--reset-world did not restore obj.map"
    cmp -s "$ARTIFACTS/edited-obj.map" "$PLAYER_DIR/obj.map.bak" || fail "--reset-world kept no obj.map.bak"
    [ "$(cat "$PLAYER_DIR/controls.cfg")" = "$(printf '[keys]\nshoot = X')" ] \
        || fail "the player's controls.cfg was replaced: $(cat "$PLAYER_DIR/controls.cfg")"

    # The world tool beside the launcher writes the player's world as text
    # with the world's own characters (the legend linked beside the layers).
    rm -rf "$ARTIFACTS/dumped" && mkdir -p "$ARTIFACTS/dumped"
    "$(dirname "$launcher")/lamplight-world" -C "$PLAYER_DIR" dump "$ARTIFACTS/dumped" > "$ARTIFACTS/dump.log" 2>&1 \
        || fail "lamplight-world dump failed: $(cat "$ARTIFACTS/dump.log")"
    for f in terrain.txt objects.txt monsters.txt; do
        sed -n '/^---$/,$p' "$SOURCE_DIR/world/$f" > "$ARTIFACTS/grid-source"
        sed -n '/^---$/,$p' "$ARTIFACTS/dumped/$f" | cmp -s - "$ARTIFACTS/grid-source" \
            || fail "lamplight-world dump of the player's world wrote $f other than the world's text"
    done
}
