#!/bin/sh
# fuzz_long.sh [HOURS] [JOBS] -- the fuzz targets for hours (default 4) on
# JOBS cores (default all), for a developer's machine, not for CI. Each
# target gets half the time. Crashes land in build/fuzz/crashes/.
set -e
cd "$(dirname "$0")/.."
HOURS="${1:-4}"
export FUZZ_JOBS="${2:-$(nproc)}"
exec sh tests/fuzz_layers.sh $((HOURS * 3600 / 2))
