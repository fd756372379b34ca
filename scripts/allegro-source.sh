# allegro-source.sh -- sourced by windows.sh and web.sh: fetches the source of
# Allegro 4.4 from Debian's own source package and unpacks it patched.
# Run from the repository's root.
ALLEGRO_PACKAGE=allegro4.4
ALLEGRO_ORIG=allegro4.4_4.4.3.1.orig.tar.gz

# port_setup KIND OUT PATCHES: what the port KIND needs installed, the native
# build (its datafiles, patches.dat and default world go into every port),
# and the port's folders: OUT for its builds, PATCHES for the library's.
port_setup() {
    ROOT=$(pwd)
    sh scripts/install-deps.sh "$1"
    sh scripts/build.sh
    OUT=$ROOT/$2
    PATCHES=$ROOT/$3
    ALLEGRO_PREFIX=$OUT/allegro
    ALLEGRO_FETCH=$OUT/allegro-fetch
    mkdir -p "$OUT"
}

# The library's source: the .orig.tar.gz of Debian's source package, through
# a private sources list and state folder, so the machine's apt set-up stays
# as it is. Its Debian part may not be served; the .orig.tar.gz is enough.
fetch_allegro() {
    local dir="$ALLEGRO_FETCH"
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
    [ -f "$dir/$ALLEGRO_ORIG" ] || { cat "$dir/source.log"; echo "$0: $ALLEGRO_ORIG was not fetched" >&2; exit 1; }
}

# The .orig.tar.gz must have the SHA-256 sum that the .dsc gives for it.
check_allegro() {
    local dir="$ALLEGRO_FETCH" want got
    want=$(sed -n '/^Checksums-Sha256:/,/^[^ ]/p' "$dir"/${ALLEGRO_PACKAGE}_*.dsc \
        | awk -v f="$ALLEGRO_ORIG" '$3 == f { print $1 }')
    got=$(sha256sum "$dir/$ALLEGRO_ORIG" | cut -d' ' -f1)
    if [ -z "$want" ] || [ "$want" != "$got" ]; then
        rm -f "$dir/$ALLEGRO_ORIG"
        echo "$0: $ALLEGRO_ORIG does not match the checksum in the .dsc (${want:-none}); removed" >&2
        exit 1
    fi
}

# unpack_allegro SRC PATCHES: the source unpacked into SRC (made anew) with
# every PATCHES/*.patch applied.
unpack_allegro() {
    rm -rf "$1"
    mkdir -p "$1"
    tar xzf "$ALLEGRO_FETCH/$ALLEGRO_ORIG" -C "$1" --strip-components=1
    for p in "$2"/*.patch; do
        patch -s -p1 -d "$1" < "$p" || { echo "$0: $p does not apply" >&2; exit 1; }
    done
}

# The options of Allegro's own build that neither port uses.
ALLEGRO_CMAKE_OPTIONS="-DCMAKE_BUILD_TYPE=Release -DSHARED=OFF -DWANT_EXAMPLES=OFF -DWANT_TESTS=OFF \
-DWANT_TOOLS=OFF -DWANT_DOCS=OFF -DWANT_ALLEGROGL=OFF -DWANT_LOADPNG=OFF -DWANT_LOGG=OFF -DWANT_JPGALLEG=OFF"
