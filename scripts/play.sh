#!/bin/sh
# play.sh -- sets up, builds and starts the game on the default world
set -e
cd "$(dirname "$0")/.."
sh scripts/build.sh
cd build/game
exec ./lamplight
