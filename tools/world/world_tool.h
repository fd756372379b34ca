// world_tool.h -- the parts of lamplight-world: text source, checks, map picture
#pragma once
#include <allegro.h>
#include "checks.h" // World, check_world, the reach proof
#include <string>
#include <vector>

// The layers' text files: "terrain.txt", "objects.txt", "monsters.txt".
extern const char *const layer_text_file[3];

// Loads map.map, obj.map and mob.map of the current folder into `world`.
// Prints one line per file that cannot be read; false then.
bool load_world(World &world);
void free_world(World &world);

// The smallest rectangle holding every tile that is not plain code 0 in all
// three layers, grown by one tile (the outer walls) and clipped to the layer.
// Empty world: the whole layer.
void content_box(const World &world, int &x0, int &y0, int &x1, int &y1);

// build: the text source in `source_dir` to the three layer files here,
// after every check; a problem stops it unless `force`.
int build_command(const std::string &source_dir, bool force);
// Runs every check on `layers` (terrain, objects, monsters) and writes them
// as the three layer files here; a problem writes nothing unless `force`.
// Returns the exit status.
int write_checked_layers(BITMAP *const layers[3], bool force);
// export-tiled: the layer files here as a Tiled map in `out_dir`, with
// tilesets of the datafiles' art.
int export_tiled_command(const std::string &out_dir);
// import-tiled: a map Tiled saved to the three layer files here, through
// the checks of build.
int import_tiled_command(const std::string &map_file, bool force);
// dump: the layer files here back to the text source in `source_dir`.
int dump_command(const std::string &source_dir);
// route: the order of rooms and items the proof found to the goal.
int route_command();
// Prints a report; true when it passes (no problems, and with `strict` no
// warnings either).
bool print_report(const WorldReport &report, bool strict);
// check: validates the layer files here; one line per problem or warning.
int check_command(bool strict);
// True when `data` has an entry `index` of `type`.
bool has_entry(DATAFILE *data, int index, int type);
// Entry `index` of `data` when it is a bitmap, else NULL.
BITMAP *datafile_art(DATAFILE *data, int index);
// render: the whole world drawn with the datafiles' art into a PNG; with
// `reach`, what the player cannot reach shaded.
int render_command(const std::string &png_file, bool reach);
