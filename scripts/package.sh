#!/bin/sh
# package.sh -- builds the Debian package build/lamplight_<version>_amd64.deb
# (CPack, with dependencies found by dpkg-shlibdeps) and checks it with
# lintian, which must report no errors.
set -e
cd "$(dirname "$0")/.."
sh scripts/build.sh
rm -f build/lamplight_*_amd64.deb
(cd build && cpack -G DEB > cpack.log) || { cat build/cpack.log; exit 1; }
deb=$(ls build/lamplight_*_amd64.deb)
echo "built $deb"
if command -v lintian > /dev/null; then
    lintian --tag-display-limit 0 "$deb" > build/lintian.log 2> build/lintian-stderr.log || true
    cat build/lintian.log
    if grep -q '^E: ' build/lintian.log; then
        echo "lintian reports errors in $deb" >&2
        exit 1
    fi
else
    echo "lintian is not installed: the package is not checked" >&2
fi
