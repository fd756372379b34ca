#!/bin/sh
# play.sh -- sets up, builds and starts the game on the default world, in the
# largest window that fits the desktop; its own arguments are passed on
# (scripts/play.sh --fullscreen)
set -e
cd "$(dirname "$0")/.."
sh scripts/build.sh
cd build/game
exec ./lamplight --scale auto "$@"
