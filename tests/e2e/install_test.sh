# Installed by `cmake --install` into a folder of its own, then played as a
# new player: the launcher makes the player's folder, keeps an edited layer,
# and --reset-world puts the default world back (also under $XDG_DATA_HOME).
. "$E2E_DIR/lib.sh"
. "$E2E_DIR/launcher_lib.sh"
start_x
PREFIX="$ARTIFACTS/prefix"
cmake --install "${GAME_DIR%/game}" --prefix "$PREFIX" > "$ARTIFACTS/install.log" 2>&1 \
    || fail "cmake --install failed: $(tail -n 3 "$ARTIFACTS/install.log")"
for f in games/lamplight games/lamplight-world lib/games/lamplight/lamplight lib/games/lamplight/patches.dat \
         share/applications/lamplight.desktop share/man/man6/lamplight.6.gz \
         share/icons/hicolor/32x32/apps/lamplight.png share/icons/hicolor/128x128/apps/lamplight.png; do
    [ -s "$PREFIX/$f" ] || fail "$f was not installed"
done
player_story "$PREFIX/games/lamplight" "$PREFIX/share/lamplight"
# A player who keeps their data elsewhere.
XDG_DATA_HOME="$ARTIFACTS/xdg" "$PREFIX/games/lamplight" --reset-world > "$ARTIFACTS/xdg.log" 2>&1 \
    || fail "--reset-world with XDG_DATA_HOME failed: $(cat "$ARTIFACTS/xdg.log")"
for f in map.map obj.map mob.map; do
    cmp -s "$PREFIX/share/lamplight/$f" "$ARTIFACTS/xdg/lamplight/$f" || fail "no $f in \$XDG_DATA_HOME/lamplight"
done
pass "installed, started through the launcher, an edited layer kept, the default world put back"
