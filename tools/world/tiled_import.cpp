// tiled_import.cpp -- import-tiled: a map Tiled saved to the three layer files, through build's checks
#include "world_tool.h"
#include "tiled.h"
#include <algorithm>
#include <cstdio>

// Which tileset a tile number belongs to: the one with the highest firstgid
// not above it; NULL when it lies below every tileset.
static const TiledTileset *tileset_of(const std::vector<TiledTileset> &sorted, uint32_t gid) {
    auto after = std::upper_bound(sorted.begin(), sorted.end(), gid,
                                  [](uint32_t g, const TiledTileset &t) { return g < t.firstgid; });
    return after == sorted.begin() ? nullptr : &*(after - 1);
}

static std::string tileset_title(const TiledTileset &t) {
    return "'" + t.name + "'" + (t.file.empty() ? "" : " (" + t.file + ")");
}

// The code of tile number `gid` in the game's `layer`, or -1 with what is
// wrong in `why`. An empty cell is code 0: the world's edge in the terrain,
// nothing in the other two.
static int code_of(const std::vector<TiledTileset> &sorted, int layer, uint32_t gid, std::string &why) {
    if (gid == 0)
        return 0;
    if (gid & TILE_FLIP_BITS) {
        why = "the tile is flipped or rotated; the game draws its tiles one way only";
        return -1;
    }
    const TiledTileset *t = tileset_of(sorted, gid);
    if (!t) {
        why = "tile number " + std::to_string(gid) + " belongs to no tileset of the map";
        return -1;
    }
    int of = tileset_layer(t->name);
    if (of < 0) {
        why = "a tile of tileset " + tileset_title(*t) + ", which is none of the game's";
        return -1;
    }
    if (of != layer) {
        why = "a tile of tileset " + tileset_title(*t) + " belongs in the " + TILED_LAYER_NAME[of] + " layer";
        return -1;
    }
    uint32_t id = gid - t->firstgid;
    int code = id > 255 ? 256 : tile_code(layer, (int)id);
    if (code > HIGHEST_CODE_WITH_ART[layer] || (layer == 2 && code == 0)) {
        why = "tile " + std::to_string(id) + " of tileset " + tileset_title(*t) + " is " +
              (code > 255 ? std::string("no code") : "code " + std::to_string(code)) +
              ", which has no art (the highest is " + std::to_string(HIGHEST_CODE_WITH_ART[layer]) + ")";
        return -1;
    }
    return code;
}

// Turns a layer's tiles into codes on `bmp`; false with the cell at fault.
static bool fill_layer(const std::vector<TiledTileset> &sorted, const TiledLayer &l, int layer, BITMAP *bmp,
                       std::string &why) {
    for (int y = 0; y < l.height; y++)
        for (int x = 0; x < l.width; x++) {
            int code = code_of(sorted, layer, l.gids[(size_t)y * l.width + x], why);
            if (code < 0) {
                why = "layer '" + l.name + "' cell (" + std::to_string(x) + ", " + std::to_string(y) + "): " + why;
                return false;
            }
            bmp->line[y][x] = (unsigned char)code;
        }
    return true;
}

// The map's three layers as bitmaps; false with what is wrong.
static bool map_to_layers(const TiledMap &map, BITMAP *layers[3], std::string &why) {
    std::vector<TiledTileset> sorted = map.tilesets;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const TiledTileset &a, const TiledTileset &b) { return a.firstgid < b.firstgid; });
    const TiledLayer *found[3] = {nullptr, nullptr, nullptr};
    for (const TiledLayer &l : map.layers)
        for (int i = 0; i < 3; i++)
            if (l.name == TILED_LAYER_NAME[i]) {
                if (found[i]) {
                    why = std::string("two layers named '") + TILED_LAYER_NAME[i] + "': rename or merge one";
                    return false;
                }
                found[i] = &l;
            }
    for (int i = 0; i < 3; i++)
        if (!found[i]) {
            why = std::string("no tile layer named '") + TILED_LAYER_NAME[i] + "'";
            return false;
        }
    for (int i = 0; i < 3; i++) {
        layers[i] = create_bitmap_ex(8, map.width, map.height);
        if (!layers[i])
            why = "no memory for a layer of " + std::to_string(map.width) + "x" + std::to_string(map.height) + " tiles";
        if (!layers[i] || !fill_layer(sorted, *found[i], i, layers[i], why))
            return false;
    }
    return true;
}

int import_tiled_command(const std::string &map_file, bool force) {
    TiledMap map;
    std::string why;
    BITMAP *layers[3] = {nullptr, nullptr, nullptr};
    int status = 1;
    if (!read_tiled_map(map_file, map, why) || !map_to_layers(map, layers, why)) {
        fprintf(stderr, "%s: %s; no layer file written\n", map_file.c_str(), why.c_str());
    } else {
        for (const std::string &name : map.ignored)
            printf("warning: %s: layer '%s' is none of terrain, objects, monsters; ignored\n", map_file.c_str(),
                   name.c_str());
        status = write_checked_layers(layers, force);
    }
    for (BITMAP *b : layers)
        if (b)
            destroy_bitmap(b);
    return status;
}
