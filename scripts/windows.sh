#!/bin/sh
# windows.sh -- builds the Windows release build-windows/lamplight-windows.zip:
# Allegro 4.4 from Debian's own source package, patched and built as a static
# library with MinGW, then the game cross-compiled against it, packed with the
# datafiles and the default world of the native build.
set -e
cd "$(dirname "$0")/.."
. scripts/allegro-source.sh
port_setup windows build-windows packaging/windows/allegro-patches
TOOLCHAIN=$ROOT/cmake/mingw-w64-x86_64.cmake

# Unpacked, patched, built static and installed into $ALLEGRO_PREFIX; done
# again only when the patches or the toolchain file change.
build_allegro() {
    local stamp="$ALLEGRO_PREFIX/.built-from" src="$OUT/allegro-src" want
    want=$(cat "$OUT/allegro-fetch/$ALLEGRO_ORIG" "$PATCHES"/*.patch "$TOOLCHAIN" | sha256sum | cut -d' ' -f1)
    [ -f "$ALLEGRO_PREFIX/lib/liballeg.a" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$want" ] && return 0
    rm -rf "$ALLEGRO_PREFIX" "$OUT/allegro-build"
    unpack_allegro "$src" "$PATCHES"
    echo "building Allegro for Windows (log: $OUT/allegro-build.log)"
    {
        cmake -S "$src" -B "$OUT/allegro-build" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
            -DCMAKE_INSTALL_PREFIX="$ALLEGRO_PREFIX" $ALLEGRO_CMAKE_OPTIONS &&
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
