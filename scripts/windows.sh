#!/bin/sh
# windows.sh -- builds the Windows release build-windows/lamplight-windows.zip:
# Allegro 4.4 from Debian's own source package, patched and built as a static
# library with MinGW, then the game cross-compiled against it, packed with the
# datafiles and the default world of the native build.
set -e
cd "$(dirname "$0")/.."
ROOT=$(pwd)
sh scripts/install-deps.sh windows
sh scripts/build.sh # the datafiles, patches.dat and the default world

OUT=$ROOT/build-windows
TOOLCHAIN=$ROOT/cmake/mingw-w64-x86_64.cmake
PATCHES=$ROOT/packaging/windows/allegro-patches
ALLEGRO_PACKAGE=allegro4.4
ALLEGRO_ORIG=allegro4.4_4.4.3.1.orig.tar.gz
ALLEGRO_PREFIX=$OUT/allegro
mkdir -p "$OUT"

# The library's source: the .orig.tar.gz of Debian's source package, through
# a private sources list and state folder, so the machine's apt set-up stays
# as it is. Its Debian part may not be served; the .orig.tar.gz is enough.
fetch_allegro() {
    local dir="$OUT/allegro-fetch"
    [ -f "$dir/$ALLEGRO_ORIG" ] && return 0
    rm -rf "$dir"
    mkdir -p "$dir/lists/partial"
    # The index is signed: apt checks it with Debian's keys, and the .dsc
    # it lists gives the checksum of the .orig.tar.gz.
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main" \
        > "$dir/sources.list"
    set -- -o "Dir::Etc::SourceList=$dir/sources.list" -o Dir::Etc::SourceParts=- \
        -o "Dir::State::Lists=$dir/lists"
    apt-get -q "$@" update > "$dir/update.log" 2>&1 || { cat "$dir/update.log"; exit 1; }
    (cd "$dir" && apt-get "$@" source --download-only "$ALLEGRO_PACKAGE" > source.log 2>&1) || true
    [ -f "$dir/$ALLEGRO_ORIG" ] || { cat "$dir/source.log"; echo "windows.sh: $ALLEGRO_ORIG was not fetched" >&2; exit 1; }
}

# The .orig.tar.gz must have the SHA-256 sum that the .dsc gives for it.
check_allegro() {
    local dir="$OUT/allegro-fetch" want got
    want=$(sed -n '/^Checksums-Sha256:/,/^[^ ]/p' "$dir"/${ALLEGRO_PACKAGE}_*.dsc \
        | awk -v f="$ALLEGRO_ORIG" '$3 == f { print $1 }')
    got=$(sha256sum "$dir/$ALLEGRO_ORIG" | cut -d' ' -f1)
    if [ -z "$want" ] || [ "$want" != "$got" ]; then
        rm -f "$dir/$ALLEGRO_ORIG"
        echo "windows.sh: $ALLEGRO_ORIG does not match the checksum in the .dsc (${want:-none}); removed" >&2
        exit 1
    fi
}

# Unpacked, patched, built static and installed into $ALLEGRO_PREFIX; done
# again only when the patches or the toolchain file change.
build_allegro() {
    local stamp="$ALLEGRO_PREFIX/.built-from" src="$OUT/allegro-src" want
    want=$(cat "$OUT/allegro-fetch/$ALLEGRO_ORIG" "$PATCHES"/*.patch "$TOOLCHAIN" | sha256sum | cut -d' ' -f1)
    [ -f "$ALLEGRO_PREFIX/lib/liballeg.a" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$want" ] && return 0
    rm -rf "$src" "$ALLEGRO_PREFIX" "$OUT/allegro-build"
    mkdir -p "$src"
    tar xzf "$OUT/allegro-fetch/$ALLEGRO_ORIG" -C "$src" --strip-components=1
    for p in "$PATCHES"/*.patch; do
        patch -s -p1 -d "$src" < "$p" || { echo "windows.sh: $p does not apply" >&2; exit 1; }
    done
    echo "building Allegro for Windows (log: $OUT/allegro-build.log)"
    {
        cmake -S "$src" -B "$OUT/allegro-build" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
            -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$ALLEGRO_PREFIX" \
            -DSHARED=OFF -DWANT_EXAMPLES=OFF -DWANT_TESTS=OFF -DWANT_TOOLS=OFF -DWANT_DOCS=OFF \
            -DWANT_ALLEGROGL=OFF -DWANT_LOADPNG=OFF -DWANT_LOGG=OFF -DWANT_JPGALLEG=OFF &&
        cmake --build "$OUT/allegro-build" -j "$(nproc)" &&
        cmake --install "$OUT/allegro-build"
    } > "$OUT/allegro-build.log" 2>&1 || { tail -40 "$OUT/allegro-build.log"; exit 1; }
    echo "$want" > "$stamp"
}

# The game, cross-compiled (only lamplight.exe: the world tool writes PNG
# pictures with loadpng, which is not built for Windows here).
build_game() {
    cmake -S "$ROOT" -B "$OUT/game-build" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
        -DCMAKE_BUILD_TYPE=Release -DALLEGRO_PREFIX="$ALLEGRO_PREFIX" > /dev/null
    cmake --build "$OUT/game-build" -j "$(nproc)"
}

# The zip: one folder "lamplight" with the program, the datafiles, the music's
# instruments (with their licence, GPL-2.txt), the default world as built,
# allegro.cfg, README.txt and the game's licence as LICENSE.txt (the texts
# with Windows line ends).
pack_zip() {
    local stage="$OUT/stage/lamplight" native="$ROOT/build"
    rm -rf "$OUT/stage" "$OUT/lamplight-windows.zip"
    mkdir -p "$stage"
    cp "$OUT/game-build/game/lamplight.exe" "$stage/"
    x86_64-w64-mingw32-strip "$stage/lamplight.exe"
    cp "$native/game/data.dat" "$native/game/guy.dat" "$native/game/monster.dat" "$stage/"
    if [ -f "$native/game/patches.dat" ]; then # GPL-2, as the SoundFont it comes from
        cp "$native/game/patches.dat" "$stage/"
        sed 's/$/\r/' /usr/share/common-licenses/GPL-2 > "$stage/GPL-2.txt"
    fi
    cp "$native/world-default/map.map" "$native/world-default/obj.map" "$native/world-default/mob.map" "$stage/"
    cp "$ROOT/packaging/windows/allegro.cfg" "$stage/"
    sed "s/@VERSION@/$(sed -n 's/^project(lamplight VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")/" \
        "$ROOT/packaging/windows/README.txt" | sed 's/$/\r/' > "$stage/README.txt"
    sed 's/$/\r/' "$ROOT/LICENSE" > "$stage/LICENSE.txt"
    (cd "$OUT/stage" && zip -q -X -r "$OUT/lamplight-windows.zip" lamplight)
    echo "built $OUT/lamplight-windows.zip"
}

fetch_allegro
check_allegro
build_allegro
build_game
pack_zip
