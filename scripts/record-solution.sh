#!/bin/sh
# record-solution.sh -- plays world/solution.route on the default world, headless, and
# writes the recording of that run to world/solution.rec; fails unless it reaches the
# goal, and then runs the check of the test replay.solution on it (long enough, hit
# points enough)
set -e
cd "$(dirname "$0")/.."
sh scripts/build.sh
run=build/solution-run
rm -rf "$run"
mkdir -p "$run"
cp build/game/data.dat build/game/guy.dat build/game/monster.dat build/world-default/*.map "$run/"
end=$(build/game/lamplight-route -C "$run" world/solution.route world/solution.rec | tail -n 1)
echo "$end"
case "$end" in
    end=goal*) echo "world/solution.rec written" ;;
    *) echo "the route does not reach the goal: change world/solution.route (lamplight-route --trace shows each frame)" >&2
       exit 1 ;;
esac
LAMPLIGHT="$PWD/build/game/lamplight" GAME_DIR="$PWD/build/game" WORLD_DEFAULT="$PWD/build/world-default" \
    SOLUTION="$PWD/world/solution.rec" WORK="$PWD/build/replay-solution" sh tests/replay_solution.sh
