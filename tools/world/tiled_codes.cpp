// tiled_codes.cpp -- the game's tilesets in a Tiled map: their names and which code each tile is
#include "tiled.h"
#include "assets.h"
#include "map_kinds.h"

const char *const TILED_LAYER_NAME[3] = {"terrain", "objects", "monsters"};
const char *const TERRAIN_TILESET = "lamplight terrain";
const char *const OBJECTS_TILESET = "lamplight objects";
const char *const MONSTERS_TILESET_PREFIX = "lamplight monsters ";
const int HIGHEST_CODE_WITH_ART[3] = {GAME_DATA_ENTRIES - 1 - TERRAIN_ART_BASE, MAX_OBJECT_CODE, MAX_MONSTER_KIND};

int tileset_layer(const std::string &name) {
    if (name == TERRAIN_TILESET)
        return 0;
    if (name == OBJECTS_TILESET)
        return 1;
    if (name.compare(0, std::string(MONSTERS_TILESET_PREFIX).size(), MONSTERS_TILESET_PREFIX) == 0)
        return 2;
    return -1;
}

int tile_code(int layer, int id) { return layer == 1 ? id + 1 : id; }
