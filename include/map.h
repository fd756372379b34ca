// map.h -- the world beneath everything (src/map): the three layers and their files, rooms,
// the view origin and the frame buffers
#pragma once
#include <allegro.h>
#include <vector>
#include "map_terrain.h" // the codes and what they do

extern BITMAP *terrain_layer; // "map.map": terrain code per tile
extern BITMAP *object_layer;  // "obj.map": object code per tile, 0 = none
extern BITMAP *monster_layer; // "mob.map": monster kind per tile, 0 = none
extern PALETTE palette;       // palette of the layer file loaded last; written by saves

// Bounds of the current room: coordinates of the boundary tiles themselves.
extern int room_left, room_right, room_top, room_bottom;

// Largest layer side the loader accepts: a world of 4096 x 4096 tiles.
constexpr int MAX_LAYER_SIDE = 4096;
// The largest layer file read: a layer of MAX_LAYER_SIDE squared with the
// worst RLE (two bytes a pixel), its header and palette, and room for the
// padding some paint programs add.
constexpr long MAX_LAYER_FILE_BYTES = (long)MAX_LAYER_SIDE * MAX_LAYER_SIDE * 2 + 65536;
// Smallest layer: the start view draws tiles 65..81 x 150..166.
constexpr int MIN_LAYER_W = 82, MIN_LAYER_H = 167;

// Loads an 8-bit PCX layer file into a new bitmap and fills `pal`. Returns
// NULL when the file is missing or not a sound 8-bit PCX; the reason is then
// in layer_error. Pixel values are kept exactly.
BITMAP *load_layer(const char *file, RGB *pal);
extern char layer_error[256];

// What a layer file holds, to tell whether it changed: its size in bytes
// (FILE_ABSENT when there is no file, FILE_UNREADABLE when it cannot be
// read) and a hash of its bytes. Equal stamps mean the same content.
struct FileStamp {
    long size;
    unsigned long long hash;
};
constexpr long FILE_ABSENT = -1, FILE_UNREADABLE = -2;
inline bool operator==(const FileStamp &a, const FileStamp &b) { return a.size == b.size && a.hash == b.hash; }
FileStamp stamp_of_bytes(const unsigned char *bytes, long size);
FileStamp stamp_of_file(const char *file);
// The bytes the last successful load_layer read or write_layer_file wrote.
extern FileStamp last_layer_stamp;

// Whether a freshly loaded `bmp` can stand as layer 0, 1 or 2 of the world:
// large enough for the start view and the size of the other layers already
// in memory. The reason, naming the other file, goes into `why`.
bool layer_fits_world(int layer, const BITMAP *bmp, char *why, int why_size);

// Checks a PCX image held in memory the way load_layer checks a file:
// header fields, an RLE stream that covers every row, the palette marker.
// Returns true when sound, else false with the reason in `why`.
bool check_pcx_bytes(const unsigned char *bytes, long size, char *why, int why_size);

// The 8-bit PCX image of `bmp` with `pal`, byte for byte what Allegro's
// save_pcx writes.
void encode_pcx(const BITMAP *bmp, const RGB *pal, std::vector<unsigned char> &out);

// Writes `bmp` to `file` as 8-bit PCX with `pal`, atomically (see
// write_file_atomically): on failure the old file stays byte for byte and one
// line naming the file goes to standard error. Returns 0 or -1.
int write_layer_file(const char *file, BITMAP *bmp, const RGB *pal);

// The three layers by number: 0 terrain, 1 objects, 2 monsters.
struct LayerInfo {
    BITMAP **bitmap;  // the layer's global
    const char *file; // "map.map", "obj.map", "mob.map"
    char letter;      // 'T', 'O', 'M', as the editors' panel shows them
};
extern const LayerInfo LAYERS[3];
// The global of layer 0, 1 or 2; NULL for other numbers.
BITMAP **layer_slot(int layer);

// Saves layer 0, 1 or 2 to its file with `palette`; other numbers write nothing.
void save_layer(int layer);
// The file of layer 0, 1, 2 ("map.map", "obj.map", "mob.map"), or NULL.
const char *layer_file_name(int layer);

// Measures the room that contains tile (tx, ty) into room_left .. room_bottom.
// A scan that reaches the layer's edge without a boundary stops on the last
// tile inside the layer.
void find_room_bounds(int tx, int ty);

// Code of tile (tx, ty) of an 8-bit layer: what getpixel gives, -1 outside
// the bitmap, read straight from its rows (the monsters and shots read it for
// every pixel of their edges, many thousand times a frame).
inline int layer_code(BITMAP *layer, int tx, int ty) {
    if (!layer || tx < 0 || ty < 0 || tx >= layer->w || ty >= layer->h)
        return -1;
    return layer->line[ty][tx];
}

// Terrain code of tile (tx, ty); -1 outside the layer (or with no layer).
inline int terrain_at(int tx, int ty) { return layer_code(terrain_layer, tx, ty); }

// --- The view origin (view_origin.cpp) ----------------------------------------

// The view the game starts with: the first room is measured round tile
// (START_VIEW_TX + 8, START_VIEW_TY + 8).
constexpr int START_VIEW_TX = 66, START_VIEW_TY = 151;
extern int view_tx, view_ty;       // tile at the play field's top-left, before the offset
extern int scroll_px, scroll_py;   // sub-tile offset in pixels, -16..16 in play
extern int scroll_right_edge;      // 148: player x beyond which the view scrolls right
extern int scroll_left_edge;       // 80
extern int scroll_top_edge;        // 96
extern int scroll_bottom_edge;     // 128

constexpr int FRAME_W = 320, FRAME_H = 240; // every frame is composed at this size
constexpr int MAX_PRESENT_SCALE = 8;         // the largest scale the game chooses for a screen

// --- The frame buffers (frame_buffers.cpp) ------------------------------------

extern BITMAP *back_buffer;  // every frame is composed here (320 x 240)
extern BITMAP *dark_buffer;  // dark frames are composed here (320 x 240)
extern COLOR_MAP trans_table;
extern RGB_MAP rgb_table;
