#!/bin/sh
# test.sh -- sets up, builds (also the Windows zip) and runs every test (unit, world, assets,
# end-to-end, the Windows build under Wine)
set -e
cd "$(dirname "$0")/.."
sh scripts/build.sh
sh scripts/windows.sh # the Windows zip, which a story plays under Wine
ctest --test-dir build --output-on-failure -j 2 "$@"
