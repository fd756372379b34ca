// world_tool.h -- the parts of lamplight-world: text source, checks, map picture
#pragma once
#include <allegro.h>
#include <string>
#include <vector>

// The three layers of a world as the tool holds them (owned bitmaps).
struct World {
    BITMAP *layer[3] = {nullptr, nullptr, nullptr};
};

// Names used in messages and as the text files of each layer.
extern const char *const layer_title[3];     // "terrain", "object", "monster"
extern const char *const layer_text_file[3]; // "terrain.txt", "objects.txt", "monsters.txt"

// Loads map.map, obj.map and mob.map of the current folder into `world`.
// Prints one line per file that cannot be read; false then.
bool load_world(World &world);
void free_world(World &world);

// The smallest rectangle holding every tile that is not plain code 0 in all
// three layers, grown by one tile (the outer walls) and clipped to the layer.
// Empty world: the whole layer.
void content_box(const World &world, int &x0, int &y0, int &x1, int &y1);

// build: the text source in `source_dir` to the three layer files here.
int build_command(const std::string &source_dir);
// dump: the layer files here back to the text source in `source_dir`.
int dump_command(const std::string &source_dir);
// check: validates the layer files here; one line per problem.
int check_command();
// Collects the problems of a world, one line each, without printing them.
std::vector<std::string> world_problems(const World &world);
// render: the whole world drawn with the datafiles' art into a PNG.
int render_command(const std::string &png_file);
