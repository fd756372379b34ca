#!/bin/sh
# test.sh -- sets up, builds (also the Windows zip and the web build) and runs every test (unit,
# world, assets, end-to-end, the Windows build under Wine, the web build in Chromium);
# LAMPLIGHT_WEB=0 leaves the web build out (its story is then skipped)
set -e
cd "$(dirname "$0")/.."
sh scripts/build.sh
sh scripts/windows.sh # the Windows zip, which a story plays under Wine
[ "${LAMPLIGHT_WEB:-1}" = 0 ] || sh scripts/web.sh # the page, which a story plays in Chromium
ctest --test-dir build --output-on-failure -j 2 "$@"
