#!/bin/sh
# install-deps.sh -- installs the Debian packages that building, playing and testing need;
# `install-deps.sh windows` also those of the Windows build and its test under Wine,
# `install-deps.sh web` those of the web build and its test in headless Chromium
set -e
PACKAGES="cmake g++ make pkg-config liballegro4-dev libloadpng4-dev libgtest-dev libbenchmark-dev \
xvfb xauth x11-utils x11-apps xdotool imagemagick clang libclang-rt-14-dev \
timgm6mb-soundfont lintian libtinyxml2-dev nlohmann-json3-dev zlib1g-dev libzstd-dev tiled"
# The MinGW cross compilers (with the DirectX headers and import libraries),
# 64-bit Wine (Debian's runs 64-bit programs without the i386 architecture),
# zip, and apt-get source's helper for the library's source package; Wine's
# recommendations (fonts, printing, ...) are not needed.
WINDOWS_PACKAGES="mingw-w64 wine wine64 zip unzip dpkg-dev"
# emscripten (with node), the browser the page is tested in, npm for the
# test's puppeteer-core, zip and apt-get source's helper. A node and npm
# installed otherwise (not as Debian's packages) are kept.
WEB_PACKAGES="emscripten chromium zip dpkg-dev"
command -v node > /dev/null || WEB_PACKAGES="$WEB_PACKAGES nodejs"
command -v npm > /dev/null || WEB_PACKAGES="$WEB_PACKAGES npm"

missing_of() {
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || printf ' %s' "$p"
    done
}
missing=$(missing_of $PACKAGES)
missing_extra=""
[ "${1:-}" = windows ] && missing_extra=$(missing_of $WINDOWS_PACKAGES)
[ "${1:-}" = web ] && missing_extra=$(missing_of $WEB_PACKAGES)
[ -z "$missing$missing_extra" ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "installing:$missing$missing_extra"
$SUDO apt-get update -q
[ -z "$missing" ] || DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q $missing
[ -z "$missing_extra" ] || DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing_extra
