#!/bin/sh
# check-memory.sh -- the damaged patch sets of the bad-patch-set story played
# by the real game under valgrind: any invalid read or write, in the game or
# in the library reading what the game let through, fails the story (the
# game's status becomes 99 and valgrind's report lands on standard error).
# Slow (a few minutes): not part of scripts/test.sh.
set -e
cd "$(dirname "$0")/.."
sh scripts/build.sh
command -v valgrind > /dev/null || { echo "check-memory.sh: valgrind is not installed (apt-get install valgrind)"; exit 1; }
LAMPLIGHT_WRAPPER="valgrind -q --error-exitcode=99 --errors-for-leak-kinds=none" \
E2E_END_SECONDS=30 ctest --test-dir build --output-on-failure -R '^e2e\.bad_patch_set$'
