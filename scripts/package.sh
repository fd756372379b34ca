#!/bin/sh
# package.sh [--no-build] [BUILD_DIR [OUT_DIR]] -- builds the Debian package
# OUT_DIR/lamplight_<version>_amd64.deb from BUILD_DIR (default build, and
# build/package) with CPack, dependencies found by dpkg-shlibdeps, and checks
# it with lintian, which must report no errors. --no-build takes BUILD_DIR as
# it is (the package story packages the build under test, building nothing).
set -e
cd "$(dirname "$0")/.."
BUILD_FIRST=1
[ "${1:-}" = --no-build ] && { BUILD_FIRST=; shift; }
BUILD_DIR=$(cd "${1:-build}" 2>/dev/null && pwd || echo "${1:-build}")
OUT=${2:-$BUILD_DIR/package}
[ -z "$BUILD_FIRST" ] || sh scripts/build.sh
mkdir -p "$OUT"
OUT=$(cd "$OUT" && pwd)
rm -f "$OUT"/lamplight_*_amd64.deb
(cd "$BUILD_DIR" && cpack -G DEB -B "$OUT" > "$OUT/cpack.log") || { cat "$OUT/cpack.log"; exit 1; }
deb=$(ls "$OUT"/lamplight_*_amd64.deb)
echo "built $deb"
if command -v lintian > /dev/null; then
    lintian --tag-display-limit 0 "$deb" > "$OUT/lintian.log" 2> "$OUT/lintian-stderr.log" || true
    cat "$OUT/lintian.log"
    if grep -q '^E: ' "$OUT/lintian.log"; then
        echo "lintian reports errors in $deb" >&2
        exit 1
    fi
else
    echo "lintian is not installed: the package is not checked" >&2
fi
