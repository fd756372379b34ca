#!/bin/sh
# install-deps.sh -- installs the Debian packages that building, playing and testing need
set -e
PACKAGES="cmake g++ make pkg-config liballegro4-dev libloadpng4-dev libgtest-dev libbenchmark-dev \
xvfb xauth x11-utils x11-apps xdotool imagemagick clang libclang-rt-14-dev \
timgm6mb-soundfont lintian"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "installing:$missing"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q $missing
