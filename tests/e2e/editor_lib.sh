# editor_lib.sh -- steps the editor stories share: test worlds, the editor
# chord, mouse clicks, layer files compared tile by tile, screenshot regions.
# Sourced after lib.sh.

# dump_layers NAME: the layer files of the run folder as text, into
# $ARTIFACTS/dump-NAME, with the characters of the default legend.
dump_layers() {
    local out="$ARTIFACTS/dump-$1"
    rm -rf "$out"
    mkdir -p "$out"
    cp "$SOURCE_DIR/world/legend.txt" "$out/"
    "$WORLD_TOOL" -C "$RUN_DIR" dump "$out" > "$ARTIFACTS/dump-$1.log" 2>&1 \
        || fail "cannot dump the layers ($1): $(cat "$ARTIFACTS/dump-$1.log")"
}

# tile_changes BEFORE AFTER GRID: every tile whose character differs between
# two dumps of one layer (GRID is terrain.txt, objects.txt or monsters.txt), one
# "x y old new" line each in legend.txt's characters, sorted.
tile_changes() {
    awk 'FNR == 1 { part++; row = -1 }
        $1 == "origin" && row < 0 { ox = $2; oy = $3 }
        row >= 0 { for (i = 1; i <= length($0); i++) tile[part, (ox + i - 1) " " (oy + row)] = substr($0, i, 1); row++ }
        $0 == "---" && row < 0 { row = 0 }
        END {
            for (k in tile) { split(k, at, SUBSEP); if (tile[1, at[2]] != tile[2, at[2]]) changed[at[2]] = 1 }
            for (t in changed) print t, tile[1, t], tile[2, t]
        }' "$ARTIFACTS/dump-$1/$3" "$ARTIFACTS/dump-$2/$3" | sort -n -k1,1 -k2,2
}

# expect_changes BEFORE AFTER GRID EXPECTED: the layer changed exactly as
# EXPECTED says ("x y old new" lines, sorted), and nowhere else.
expect_changes() {
    local got
    got=$(tile_changes "$1" "$2" "$3")
    [ "$got" = "$4" ] || fail "$3 changed at [$got], expected [$4]"
}

# open_editor LETTER: holds both Control keys with E, O or M, as a player does.
open_editor() {
    hold Control_L Control_R "$1" 0.3
}

# leave_editor: Esc pressed and released; the editor saves and returns.
leave_editor() {
    hold Escape 0.3
    sleep 0.3 # the room-change frame after the editor
}

# point_at X Y: moves the pointer to play-field pixel (X, Y). The game reads
# (160, 120) until the first motion, and a move to where the pointer already
# is sends none: go elsewhere first.
point_at() {
    xdotool mousemove 300 10
    sleep 0.1
    xdotool mousemove "$1" "$2"
    sleep 0.2
}

# click BUTTON [SECONDS]: holds mouse button 1 (left) or 3 (right) for a few
# frames (0.15 s unless SECONDS says otherwise).
click() {
    xdotool mousedown "$1"
    sleep "${2:-0.15}"
    xdotool mouseup "$1"
    sleep 0.2
}

# same_region SHOT1 X1 Y1 SHOT2 X2 Y2 W H WHAT: fails unless the two regions
# hold the same picture; other_region fails when they do (so that a
# same_region check after it means something).
same_region() {
    local n
    n=$(differing_pixels "$1" "$2" "$3" "$4" "$5" "$6" "$7" "$8")
    [ "$n" = 0 ] || fail "$9: $n pixels differ between $1 ($2, $3) and $4 ($5, $6), ${7}x$8"
}
other_region() {
    [ "$(differing_pixels "$1" "$2" "$3" "$4" "$5" "$6" "$7" "$8")" != 0 ] || fail "$9: $1 ($2, $3) and $4 ($5, $6) are already alike"
}

# shot_game NAME: a screenshot once the game draws its own frames again after
# an editor: the player, whom the editors do not draw, stands where he stood
# in the screenshot game-before. Fails after 3 s.
shot_game() {
    local n=0
    while :; do
        shot "$1"
        [ "$(differing_pixels "$1" 120 160 game-before 120 160 24 32)" = 0 ] && return 0
        n=$((n + 1))
        [ $n -lt 30 ] || fail "no game frame with the player in place after the editor (see $1.png)"
        sleep 0.1
    done
}

# keep_layers NAME: byte copies of the three layer files, to compare with later.
keep_layers() {
    mkdir -p "$ARTIFACTS/files-$1"
    cp "$RUN_DIR/map.map" "$RUN_DIR/obj.map" "$RUN_DIR/mob.map" "$ARTIFACTS/files-$1/"
}

# same_file NAME FILE: fails unless FILE of the run folder has the bytes kept by keep_layers NAME.
same_file() {
    cmp -s "$ARTIFACTS/files-$1/$2" "$RUN_DIR/$2" || fail "$2 is not the file it was"
}
