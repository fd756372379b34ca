#!/bin/sh
# web.sh -- builds the game for the browser: build-web/lamplight-web/ (the
# page, its script, the wasm and the run folder game/) and
# build-web/lamplight-web.zip, for any static web server. Allegro 4.4 from
# Debian's own source package with the web platform of packaging/web/, built
# with Debian's emscripten, then the game against it; the datafiles, the
# music's instruments and the default world come from the native build.
set -e
cd "$(dirname "$0")/.."
. scripts/allegro-source.sh
port_setup web build-web packaging/web/allegro-patches
# emscripten's optimiser needs Debian's node modules (acorn) on the path.
export NODE_PATH=/usr/share/nodejs

# Unpacked, patched, built static and installed into $ALLEGRO_PREFIX; done
# again only when the patches or the compiler change. Without X11 and the
# Unix sound systems, which a page has none of; -lc stands in for librt.
build_allegro() {
    local stamp="$ALLEGRO_PREFIX/.built-from" src="$OUT/allegro-src" want
    want=$( (cat "$ALLEGRO_FETCH/$ALLEGRO_ORIG" "$PATCHES"/*.patch; emcc --version) | sha256sum | cut -d' ' -f1)
    [ -f "$ALLEGRO_PREFIX/lib/liballeg.a" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$want" ] && return 0
    rm -rf "$ALLEGRO_PREFIX" "$OUT/allegro-build"
    unpack_allegro "$src" "$PATCHES"
    echo "building Allegro for the web (log: $OUT/allegro-build.log)"
    {
        emcmake cmake -S "$src" -B "$OUT/allegro-build" -DCMAKE_INSTALL_PREFIX="$ALLEGRO_PREFIX" \
            $ALLEGRO_CMAKE_OPTIONS -DWANT_X11=OFF -DWANT_OSS=OFF -DWANT_ALSA=OFF -DWANT_JACK=OFF \
            -DWANT_SGIAUDIO=OFF -DWANT_MODULES=OFF -DRT_LIBRARY=-lc &&
        cmake --build "$OUT/allegro-build" -j "$(nproc)" &&
        cmake --install "$OUT/allegro-build"
    } > "$OUT/allegro-build.log" 2>&1 || { tail -40 "$OUT/allegro-build.log"; exit 1; }
    echo "$want" > "$stamp"
}

# The game, as lamplight.js and lamplight.wasm (link options: cmake/web.cmake).
build_game() {
    emcmake cmake -S "$ROOT" -B "$OUT/game-build" -DCMAKE_BUILD_TYPE=Release \
        -DALLEGRO_PREFIX="$ALLEGRO_PREFIX" > "$OUT/game-configure.log" 2>&1 \
        || { cat "$OUT/game-configure.log"; exit 1; }
    cmake --build "$OUT/game-build" -j "$(nproc)"
}

# The folder a web server serves: the page, the script, the wasm, and game/
# with the datafiles, the instruments (with their licence), the default world
# and its recorded solution (for ?replay=solution.rec); the zip holds it.
pack_site() {
    local site="$OUT/lamplight-web" native="$ROOT/build"
    rm -rf "$site" "$OUT/lamplight-web.zip"
    mkdir -p "$site/game"
    cp "$ROOT/packaging/web/index.html" "$OUT/game-build/game/lamplight.js" "$OUT/game-build/game/lamplight.wasm" "$site/"
    cp "$native/game/data.dat" "$native/game/guy.dat" "$native/game/monster.dat" "$site/game/"
    if [ -f "$native/game/patches.dat" ]; then # GPL-2, as the SoundFont it comes from
        cp "$native/game/patches.dat" "$site/game/"
        cp /usr/share/common-licenses/GPL-2 "$site/game/GPL-2.txt"
    fi
    cp "$native/world-default/map.map" "$native/world-default/obj.map" "$native/world-default/mob.map" \
        "$ROOT/world/solution.rec" "$site/game/"
    cp "$ROOT/LICENSE" "$site/LICENSE.txt"
    (cd "$OUT" && zip -q -X -r "$OUT/lamplight-web.zip" lamplight-web)
    echo "built $site and $OUT/lamplight-web.zip"
}

fetch_allegro
check_allegro
build_allegro
build_game
pack_site
