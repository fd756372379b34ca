# The Debian package: scripts/package.sh builds it (lintian finds no error);
# it holds the game laid out as Debian's games are and depends on Allegro's
# runtime packages. Where the tests run as root, it is installed with dpkg,
# played from its menu entry's command as a new player, and removed: the
# player's folder stays. Skipped (status 77) when not root.
. "$E2E_DIR/lib.sh"
. "$E2E_DIR/launcher_lib.sh"
start_x
# The build under test (the folder above build/game), packaged into the story's own folder.
sh "$SOURCE_DIR/scripts/package.sh" --no-build "$(dirname "$GAME_DIR")" "$ARTIFACTS/package" > "$ARTIFACTS/package.log" 2>&1 \
    || fail "scripts/package.sh failed: $(tail -n 5 "$ARTIFACTS/package.log")"
version=$(sed -n 's/^project(lamplight VERSION \([0-9.]*\) .*/\1/p' "$SOURCE_DIR/CMakeLists.txt")
DEB="$ARTIFACTS/package/lamplight_${version}_amd64.deb"
[ -s "$DEB" ] || fail "no $DEB"

# What it holds.
dpkg-deb -c "$DEB" | awk '{ print $6 }' | sed 's|^\./||' > "$ARTIFACTS/contents"
for f in usr/games/lamplight usr/games/lamplight-world usr/lib/games/lamplight/lamplight \
         usr/lib/games/lamplight/patches.dat usr/share/lamplight/data.dat usr/share/lamplight/guy.dat \
         usr/share/lamplight/monster.dat usr/share/lamplight/map.map usr/share/lamplight/obj.map \
         usr/share/lamplight/mob.map usr/share/lamplight/legend.txt usr/share/lamplight/patches.dat usr/share/applications/lamplight.desktop \
         usr/share/icons/hicolor/32x32/apps/lamplight.png usr/share/icons/hicolor/64x64/apps/lamplight.png \
         usr/share/icons/hicolor/128x128/apps/lamplight.png usr/share/man/man6/lamplight.6.gz \
         usr/share/doc/lamplight/copyright; do
    grep -qx "$f" "$ARTIFACTS/contents" || fail "the package lacks $f"
done
dpkg-deb --fsys-tarfile "$DEB" | tar -xO ./usr/share/doc/lamplight/copyright > "$ARTIFACTS/copyright"
for licence in Expat GPL-2; do
    grep -qx "License: $licence" "$ARTIFACTS/copyright" || fail "the copyright file gives no $licence licence"
done
! grep -v '^usr/' "$ARTIFACTS/contents" | grep -q . || fail "the package installs outside /usr: $(grep -v '^usr/' "$ARTIFACTS/contents")"
depends=$(dpkg-deb -f "$DEB" Depends)
for p in liballegro4.4 libloadpng4.4 libc6; do
    echo "$depends" | grep -q "\b$p (>=" || fail "Depends lacks $p: $depends"
done
! echo "$depends" | grep -q -- '-dev' || fail "Depends names a -dev package: $depends"
[ "$(dpkg-deb -f "$DEB" Version)" = "$version" ] || fail "package version $(dpkg-deb -f "$DEB" Version), project $version"

[ "$(id -u)" -eq 0 ] || { echo "SKIP: not root, the package is not installed"; exit 77; }
if dpkg-query -W -f='${Status}' lamplight 2>/dev/null | grep -q installed; then
    echo "SKIP: a lamplight package is installed already; left alone"
    exit 77
fi
remove_package() { dpkg -r lamplight > "$ARTIFACTS/remove.log" 2>&1; }
trap 'remove_package; stop_all' EXIT
dpkg -i "$DEB" > "$ARTIFACTS/dpkg-install.log" 2>&1 || fail "dpkg -i failed: $(tail -n 5 "$ARTIFACTS/dpkg-install.log")"

# The menu's command, found on a player's PATH (which holds /usr/games).
command=$(sed -n 's/^Exec=//p' /usr/share/applications/lamplight.desktop)
launcher=$(PATH=/usr/bin:/bin:/usr/games command -v "$command") || fail "the menu's command $command is not on the PATH"
player_story "$launcher" /usr/share/lamplight

remove_package || fail "dpkg -r failed: $(cat "$ARTIFACTS/remove.log")"
[ ! -e /usr/games/lamplight ] && [ ! -e /usr/share/lamplight ] || fail "dpkg -r left the game behind"
for f in map.map obj.map mob.map obj.map.bak; do
    [ -s "$PLAYER_DIR/$f" ] || fail "removing the package took $PLAYER_DIR/$f"
done
pass "packaged, installed, played from the menu's command, removed; the player's folder kept"
