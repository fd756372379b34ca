#!/bin/sh
# test.sh -- sets up, builds and runs every test (unit, world, assets, end-to-end)
set -e
cd "$(dirname "$0")/.."
sh scripts/build.sh
ctest --test-dir build --output-on-failure -j 2 "$@"
