#!/bin/sh
# install-deps.sh -- installs the Debian packages that building, playing and testing need;
# `install-deps.sh windows` also those of the Windows build and its test under Wine
set -e
PACKAGES="cmake g++ make pkg-config liballegro4-dev libloadpng4-dev libgtest-dev libbenchmark-dev \
xvfb xauth x11-utils x11-apps xdotool imagemagick clang libclang-rt-14-dev \
timgm6mb-soundfont lintian libtinyxml2-dev nlohmann-json3-dev zlib1g-dev libzstd-dev tiled"
# The MinGW cross compilers (with the DirectX headers and import libraries),
# 64-bit Wine (Debian's runs 64-bit programs without the i386 architecture),
# zip, and apt-get source's helper for the library's source package; Wine's
# recommendations (fonts, printing, ...) are not needed.
WINDOWS_PACKAGES="mingw-w64 wine wine64 zip unzip dpkg-dev"

missing_of() {
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || printf ' %s' "$p"
    done
}
missing=$(missing_of $PACKAGES)
missing_windows=""
[ "${1:-}" = windows ] && missing_windows=$(missing_of $WINDOWS_PACKAGES)
[ -z "$missing$missing_windows" ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "installing:$missing$missing_windows"
$SUDO apt-get update -q
[ -z "$missing" ] || DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q $missing
[ -z "$missing_windows" ] || DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing_windows
