# The default world can be finished: world/solution.rec, replayed headless on
# the default world's layer files, reaches the goal and ends exactly as recorded,
# and it is a newcomer's play, not a speed run: at least MIN_FRAMES frames (60 ms
# each: 3000 are three minutes) and at least MIN_HP hit points left at the goal,
# so a change that makes the world harsher or shorter fails here.
# Needs: LAMPLIGHT (the game), GAME_DIR (datafiles), WORLD_DEFAULT (the default
# world's layer files), SOLUTION (the recording), WORK (a scratch folder).
set -u
fail() { echo "FAIL: $*"; exit 1; }
rm -rf "$WORK"
mkdir -p "$WORK"
cp "$GAME_DIR/data.dat" "$GAME_DIR/guy.dat" "$GAME_DIR/monster.dat" "$WORLD_DEFAULT"/*.map "$WORK/"
cd "$WORK"
"$LAMPLIGHT" --replay "$SOLUTION" --headless --rooms > out.log 2> err.log
status=$?
cat out.log err.log
[ "$status" = 0 ] || fail "the replay of $SOLUTION ended with status $status;" \
    "if the world changed, re-record it with scripts/record-solution.sh (see world/README.md)"
end=$(tail -n 1 out.log)
[ "${end%% *}" = end=goal ] || fail "the solution does not reach the goal"
# The end line's fields, e.g. "end=goal frames=3281 score=12300 hp=395 ...".
field() { echo "$end" | tr ' ' '\n' | sed -n "s/^$1=//p"; }
frames=$(field frames)
hp=$(field hp)
[ "$frames" -ge "${MIN_FRAMES:-3000}" ] \
    || fail "the solution plays $frames frames, fewer than ${MIN_FRAMES:-3000}: the world became shorter"
[ "$hp" -ge "${MIN_HP:-100}" ] || fail "the solution ends with $hp hit points, fewer than ${MIN_HP:-100}: the world became harsher"
echo "PASS: $end"
