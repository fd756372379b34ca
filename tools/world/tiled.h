// tiled.h -- a world as a Tiled map: the tilesets the export writes, the map the import reads
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The three tile layers of an exported map, by layer number (0 terrain, 1
// objects, 2 monsters): the names Tiled shows and the import looks for.
extern const char *const TILED_LAYER_NAME[3];

// The game's tilesets, told apart by name. Terrain tile id t is terrain
// code t; object tile id o is object code o + 1; a monster tileset holds
// the kinds whose art has one size, tile id k being kind k, and is named
// "lamplight monsters WxH".
extern const char *const TERRAIN_TILESET;
extern const char *const OBJECTS_TILESET;
extern const char *const MONSTERS_TILESET_PREFIX;
// The highest code of each layer that has art: a tile of one of the game's
// tilesets beyond it is refused.
extern const int HIGHEST_CODE_WITH_ART[3];

// The layer of the game a tileset named `name` paints, and the code of its
// tile `id` (which may lie beyond HIGHEST_CODE_WITH_ART); -1 for a tileset
// that is not the game's.
int tileset_layer(const std::string &name);
int tile_code(int layer, int id);

// Tiled keeps a tile's flips and rotations in the top bits of its number.
constexpr uint32_t TILE_FLIP_BITS = 0xF0000000u;

// A map as Tiled saved it, reduced to what the import needs.
struct TiledTileset {
    uint32_t firstgid;
    std::string name;
    std::string file; // the .tsx or .tsj it came from; empty when embedded
};
struct TiledLayer {
    std::string name;
    int width = 0, height = 0;
    std::vector<uint32_t> gids; // row by row, width * height
};
struct TiledMap {
    int width = 0, height = 0;
    std::vector<TiledTileset> tilesets;
    std::vector<TiledLayer> layers;      // tile layers named terrain, objects or monsters
    std::vector<std::string> ignored;    // the names of every other layer
};

// Reads a map Tiled saved: TMX (XML), or JSON when the file name ends in
// .tmj or .json. False with what is wrong in `why` (the file is named by
// the caller; an external tileset by the message).
bool read_tiled_map(const std::string &file, TiledMap &map, std::string &why);

// The tiles of a layer's data as Tiled encodes it: "csv", or "base64" with
// compression "", "zlib", "gzip" or "zstd"; exactly `count` of them.
bool decode_layer_data(const std::string &text, const std::string &encoding, const std::string &compression,
                       size_t count, std::vector<uint32_t> &gids, std::string &why);
