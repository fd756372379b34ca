# The default world can be finished: world/solution.rec, replayed headless on
# the default world's layer files, reaches the goal and ends exactly as recorded.
# Needs: LAMPLIGHT (the game), GAME_DIR (datafiles), WORLD_DEFAULT (the default
# world's layer files), SOLUTION (the recording), WORK (a scratch folder).
set -u
rm -rf "$WORK"
mkdir -p "$WORK"
cp "$GAME_DIR/data.dat" "$GAME_DIR/guy.dat" "$GAME_DIR/monster.dat" "$WORLD_DEFAULT"/*.map "$WORK/"
cd "$WORK"
"$LAMPLIGHT" --replay "$SOLUTION" --headless --rooms > out.log 2> err.log
status=$?
cat out.log err.log
if [ "$status" != 0 ]; then
    echo "FAIL: the replay of $SOLUTION ended with status $status;" \
         "if the world changed, re-record it with scripts/record-solution.sh (see world/README.md)"
    exit 1
fi
tail -n 1 out.log | grep -q '^end=goal ' || { echo "FAIL: the solution does not reach the goal"; exit 1; }
echo "PASS: $(tail -n 1 out.log)"
