// tiled_export.cpp -- export-tiled: the layer files as a Tiled map, with tilesets of the game's own art
#include "world_tool.h"
#include "tiled.h"
#include "assets.h"
#include "editors_names.h"
#include "files.h"
#include "map.h"
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <loadpng.h>
#include <map>
#include <sys/stat.h>
#include <tinyxml2.h>

// The terrain tileset's image: ten codes a row, so row r holds codes 10r .. 10r + 9.
static const int TERRAIN_COLUMNS = 10;

// What the export needs from the datafiles.
struct Art {
    DATAFILE *data = nullptr, *mobs = nullptr;
    const RGB *pal = nullptr; // the game palette
};

// --- What each tile does, in words, from the game's tables ----------------------

static std::string terrain_rule_text(int code) {
    const TerrainRule &r = terrain_rule(code);
    std::string s = r.exit ? "exit: the player leaves the room through it"
                    : r.blocks_player ? (r.ghost_passes ? "blocks the player, who passes while ghost walking"
                                                        : "blocks the player")
                                      : "the player walks on it";
    s += r.bounds_room ? "; bounds a room" : "";
    s += r.blocks_monsters ? "; blocks monsters" : "; monsters walk on it";
    s += r.stops_shots ? "; stops shots" : "";
    s += r.is_switch ? "; a shot stopped on it opens and closes the room's gates" : "";
    s += r.takes_objects ? "; an object on it can be taken" : "";
    s += r.dark ? "; a room that shows it is drawn dark" : "";
    s += r.blasts_to >= 0 ? "; a bomb's blast makes it " + std::to_string(r.blasts_to) : "";
    s += r.toggles_to >= 0 ? "; the room's switch turns it into " + std::to_string(r.toggles_to) : "";
    s += r.game_art != code ? "; drawn in play like " + std::to_string(r.game_art) : "";
    return s;
}

static std::string object_rule_text(const ObjectKind &k) {
    switch (k.effect) {
    case EFFECT_SCORE: return "score + " + std::to_string(k.amount);
    case EFFECT_HIT_POINTS: return "hit points + " + std::to_string(k.amount / 100);
    case EFFECT_BOMBS: return "bombs + " + std::to_string(k.amount);
    case EFFECT_LAMP: return "dark rooms show a circle of light round the player";
    case EFFECT_CLOAK: return "walks through ghost walls while Left Control is held";
    case EFFECT_GOAL: return "taking it ends the game";
    default: return "no effect: only taken away";
    }
}

static std::string monster_rule_text(const MonsterKind &k) {
    std::string s = k.move == MOVE_CHASE             ? "chases the player"
                    : k.move == MOVE_PATROL_VERTICAL ? "patrols up and down, starting up"
                                                     : "patrols left and right, starting left";
    s += k.giant ? "; too large for any door, it stays in its room" : "";
    s += k.can_be_shot ? "; " + std::to_string(k.hp) + " hit points, a shot takes 4" : "; shots pass through it";
    return s + "; box " + std::to_string(k.width) + "x" + std::to_string(k.height) + " pixels from its tile's corner";
}

// --- The tilesets ---------------------------------------------------------------

// A tile's properties: its code, the game's name for it and what it does.
static void write_properties(tinyxml2::XMLPrinter &x, int layer, int code, const std::string &rule) {
    x.OpenElement("properties");
    x.OpenElement("property");
    x.PushAttribute("name", "code");
    x.PushAttribute("type", "int");
    x.PushAttribute("value", code);
    x.CloseElement();
    x.OpenElement("property");
    x.PushAttribute("name", "name");
    x.PushAttribute("value", code_description(layer, code));
    x.CloseElement();
    x.OpenElement("property");
    x.PushAttribute("name", "rule");
    x.PushAttribute("value", rule.c_str());
    x.CloseElement();
    x.CloseElement();
}

static void open_tileset(tinyxml2::XMLPrinter &x, unsigned firstgid, const char *name, int tw, int th, int count,
                         int columns) {
    x.OpenElement("tileset");
    x.PushAttribute("firstgid", firstgid);
    x.PushAttribute("name", name);
    x.PushAttribute("tilewidth", tw);
    x.PushAttribute("tileheight", th);
    x.PushAttribute("tilecount", count);
    x.PushAttribute("columns", columns);
}

static void image(tinyxml2::XMLPrinter &x, const char *source, int w, int h) {
    x.OpenElement("image");
    x.PushAttribute("source", source);
    x.PushAttribute("width", w);
    x.PushAttribute("height", h);
    x.CloseElement();
}

// Saves `bmp` as `dir`/`name` in the game palette; false with a line said.
// A sprite is saved with colour 0 see-through, as the game draws it (as
// red, green, blue and alpha, the palette's colours widened as the PNG
// writer widens them), tiles opaque.
static bool save_picture(const std::string &dir, const char *name, BITMAP *bmp, const RGB *pal, bool sprite) {
    std::string file = dir + "/" + name;
    BITMAP *out = bmp;
    if (sprite) {
        out = create_bitmap_ex(32, bmp->w, bmp->h);
        for (int y = 0; y < bmp->h; y++)
            for (int x = 0; x < bmp->w; x++) {
                const RGB &c = pal[bmp->line[y][x]];
                putpixel(out, x, y, bmp->line[y][x] == 0 ? makeacol32(0, 0, 0, 0)
                                    : makeacol32(_rgb_scale_6[c.r], _rgb_scale_6[c.g], _rgb_scale_6[c.b], 255));
            }
    }
    int status = save_png(file.c_str(), out, pal);
    if (out != bmp)
        destroy_bitmap(out);
    if (status == 0)
        return true;
    fprintf(stderr, "%s: cannot be written\n", file.c_str());
    return false;
}

// Terrain code t is tile t, drawn as play draws it (85 and up like 72), so
// the map in Tiled looks like the game; the blank tiles after 88 have no code.
static bool terrain_tileset(tinyxml2::XMLPrinter &x, const std::string &dir, const Art &art, unsigned &firstgid,
                            unsigned gid_of[256]) {
    int codes = HIGHEST_CODE_WITH_ART[0] + 1, rows = (codes + TERRAIN_COLUMNS - 1) / TERRAIN_COLUMNS;
    BITMAP *sheet = create_bitmap_ex(8, TERRAIN_COLUMNS * 16, rows * 16);
    clear_to_color(sheet, 0);
    for (int t = 0; t < codes; t++)
        blit(datafile_art(art.data, TERRAIN_ART_BASE + terrain_rule(t).game_art), sheet, 0, 0,
             t % TERRAIN_COLUMNS * 16, t / TERRAIN_COLUMNS * 16, 16, 16);
    bool saved = save_picture(dir, "terrain.png", sheet, art.pal, false);
    open_tileset(x, firstgid, TERRAIN_TILESET, 16, 16, TERRAIN_COLUMNS * rows, TERRAIN_COLUMNS);
    image(x, "terrain.png", sheet->w, sheet->h);
    for (int t = 0; t < codes; t++) {
        gid_of[t] = firstgid + t;
        x.OpenElement("tile");
        x.PushAttribute("id", t);
        write_properties(x, 0, t, terrain_rule_text(t));
        x.CloseElement();
    }
    x.CloseElement();
    firstgid += TERRAIN_COLUMNS * rows;
    destroy_bitmap(sheet);
    return saved;
}

// Object code o is tile o - 1, in one row.
static bool objects_tileset(tinyxml2::XMLPrinter &x, const std::string &dir, const Art &art, unsigned &firstgid,
                            unsigned gid_of[256]) {
    int count = MAX_OBJECT_CODE;
    BITMAP *sheet = create_bitmap_ex(8, count * 16, 16);
    clear_to_color(sheet, 0);
    for (int o = 1; o <= count; o++)
        blit(datafile_art(art.data, OBJECT_KINDS[o].art_entry), sheet, 0, 0, (o - 1) * 16, 0, 16, 16);
    bool saved = save_picture(dir, "objects.png", sheet, art.pal, true);
    open_tileset(x, firstgid, OBJECTS_TILESET, 16, 16, count, count);
    image(x, "objects.png", sheet->w, sheet->h);
    for (int o = 1; o <= count; o++) {
        gid_of[o] = firstgid + o - 1;
        x.OpenElement("tile");
        x.PushAttribute("id", o - 1);
        write_properties(x, 1, o, object_rule_text(OBJECT_KINDS[o]));
        x.CloseElement();
    }
    x.CloseElement();
    firstgid += count;
    destroy_bitmap(sheet);
    return saved;
}

// A tileset for each size of monster art, tile k being kind k. Tiled draws
// a large tile up from its cell's bottom-left corner; the game draws the
// sprite down from the tile's top-left corner, so the tileset is offset
// down by the sprite's height less a tile.
static bool monster_tilesets(tinyxml2::XMLPrinter &x, const std::string &dir, const Art &art, unsigned &firstgid,
                             unsigned gid_of[256]) {
    std::map<std::pair<int, int>, std::vector<int>> by_size;
    for (int k = 1; k <= MAX_MONSTER_KIND; k++) {
        BITMAP *a = datafile_art(art.mobs, MONSTER_KINDS[k].art_entry);
        by_size[{a->w, a->h}].push_back(k);
    }
    bool saved = true;
    for (const auto &[size, kinds] : by_size) {
        auto [w, h] = size;
        std::string name = MONSTERS_TILESET_PREFIX + std::to_string(w) + "x" + std::to_string(h);
        open_tileset(x, firstgid, name.c_str(), w, h, (int)kinds.size(), 0);
        x.OpenElement("tileoffset");
        x.PushAttribute("x", 0);
        x.PushAttribute("y", h - 16);
        x.CloseElement();
        for (int k : kinds) {
            gid_of[k] = firstgid + k;
            std::string file = "monster-" + std::to_string(k) + ".png";
            saved = save_picture(dir, file.c_str(), datafile_art(art.mobs, MONSTER_KINDS[k].art_entry), art.pal, true) && saved;
            x.OpenElement("tile");
            x.PushAttribute("id", k);
            write_properties(x, 2, k, monster_rule_text(MONSTER_KINDS[k]));
            image(x, file.c_str(), w, h);
            x.CloseElement();
        }
        x.CloseElement();
        firstgid += kinds.back() + 1;
    }
    return saved;
}

// --- The map --------------------------------------------------------------------

// A layer's tiles as Tiled writes CSV: a row a line, commas between.
static std::string layer_csv(BITMAP *layer, const unsigned gid_of[256]) {
    std::string text = "\n";
    text.reserve((size_t)layer->w * layer->h * 4 + layer->h + 2);
    char number[12];
    for (int y = 0; y < layer->h; y++) {
        for (int x = 0; x < layer->w; x++) {
            text.append(number, std::to_chars(number, number + sizeof number, gid_of[layer->line[y][x]]).ptr);
            if (x + 1 < layer->w || y + 1 < layer->h)
                text += ',';
        }
        text += '\n';
    }
    return text;
}

static void write_layer(tinyxml2::XMLPrinter &x, int i, BITMAP *layer, const unsigned gid_of[256]) {
    x.OpenElement("layer");
    x.PushAttribute("id", i + 1);
    x.PushAttribute("name", TILED_LAYER_NAME[i]);
    x.PushAttribute("width", layer->w);
    x.PushAttribute("height", layer->h);
    x.OpenElement("data");
    x.PushAttribute("encoding", "csv");
    x.PushText(layer_csv(layer, gid_of).c_str());
    x.CloseElement();
    x.CloseElement();
}

// The first cell of `world` whose code has no art, named in one line.
static bool codes_have_art(const World &world) {
    for (int i = 0; i < 3; i++)
        for (int y = 0; y < world.layer[i]->h; y++)
            for (int x = 0; x < world.layer[i]->w; x++)
                if (world.layer[i]->line[y][x] > HIGHEST_CODE_WITH_ART[i]) {
                    fprintf(stderr, "%s: code %d at (%d, %d) has no art (the highest is %d); no map written\n",
                            layer_file_name(i), world.layer[i]->line[y][x], x, y, HIGHEST_CODE_WITH_ART[i]);
                    return false;
                }
    return true;
}

static bool same_sizes(const World &world) {
    for (int i = 1; i < 3; i++)
        if (world.layer[i]->w != world.layer[0]->w || world.layer[i]->h != world.layer[0]->h) {
            fprintf(stderr, "the layers have different sizes (see 'check'); no map written\n");
            return false;
        }
    return true;
}

static bool write_map(const std::string &dir, const World &world, const Art &art) {
    tinyxml2::XMLPrinter x;
    x.PushHeader(false, true);
    x.OpenElement("map");
    x.PushAttribute("version", "1.8");
    x.PushAttribute("orientation", "orthogonal");
    x.PushAttribute("renderorder", "right-down");
    x.PushAttribute("width", world.layer[0]->w);
    x.PushAttribute("height", world.layer[0]->h);
    x.PushAttribute("tilewidth", 16);
    x.PushAttribute("tileheight", 16);
    x.PushAttribute("infinite", 0);
    x.PushAttribute("nextlayerid", 4);
    x.PushAttribute("nextobjectid", 1);
    // Each layer's tile number of each code. Terrain 0 is a tile of its own
    // (the world's edge); objects and monsters 0 are empty cells (tile 0).
    unsigned firstgid = 1, gid_of[3][256] = {};
    bool saved = terrain_tileset(x, dir, art, firstgid, gid_of[0]);
    saved = objects_tileset(x, dir, art, firstgid, gid_of[1]) && saved;
    saved = monster_tilesets(x, dir, art, firstgid, gid_of[2]) && saved;
    for (int i = 0; i < 3; i++)
        write_layer(x, i, world.layer[i], gid_of[i]);
    x.CloseElement();
    std::string file = dir + "/world.tmx";
    char why[256];
    if (write_file_atomically(file.c_str(), (const unsigned char *)x.CStr(), x.CStrSize() - 1, why, sizeof why) != 0) {
        fprintf(stderr, "%s: cannot be written: %s\n", file.c_str(), why);
        return false;
    }
    if (saved)
        printf("%s: %dx%d tiles, layers terrain, objects, monsters\n", file.c_str(), world.layer[0]->w,
               world.layer[0]->h);
    return saved;
}

// Whether entry `entry` of a datafile is the bitmap of code `code` of `layer`; a line when not.
static bool has_art(DATAFILE *data, int entry, int layer, int code) {
    if (datafile_art(data, entry))
        return true;
    fprintf(stderr, "%s: entry %d, the art of %s code %d, is no bitmap\n", layer == 2 ? "monster.dat" : "data.dat",
            entry, TILED_LAYER_NAME[layer], code);
    return false;
}

// Every picture the tilesets are cut from is in the datafiles.
static bool art_complete(const Art &art) {
    bool whole = true;
    for (int t = 0; t <= HIGHEST_CODE_WITH_ART[0] && whole; t++)
        whole = has_art(art.data, TERRAIN_ART_BASE + t, 0, t);
    for (int o = 1; o <= MAX_OBJECT_CODE && whole; o++)
        whole = has_art(art.data, OBJECT_KINDS[o].art_entry, 1, o);
    for (int k = 1; k <= MAX_MONSTER_KIND && whole; k++)
        whole = has_art(art.mobs, MONSTER_KINDS[k].art_entry, 2, k);
    return whole;
}

int export_tiled_command(const std::string &out_dir) {
    Art art;
    art.data = load_datafile("data.dat");
    art.mobs = load_datafile("monster.dat");
    World world;
    int status = 1;
    if (!art.data || !art.mobs)
        fprintf(stderr, "export-tiled needs data.dat and monster.dat in this folder\n");
    else if (!has_entry(art.data, GAME_PALETTE, DAT_PALETTE))
        fprintf(stderr, "data.dat: entry %d is not the game palette\n", GAME_PALETTE);
    else if (art_complete(art) && load_world(world)) {
        art.pal = (const RGB *)art.data[GAME_PALETTE].dat;
        if (mkdir(out_dir.c_str(), 0777) != 0 && errno != EEXIST)
            fprintf(stderr, "%s: cannot be made (%s)\n", out_dir.c_str(), strerror(errno));
        else if (same_sizes(world) && codes_have_art(world) && write_map(out_dir, world, art))
            status = 0;
        free_world(world);
    }
    if (art.data)
        unload_datafile(art.data);
    if (art.mobs)
        unload_datafile(art.mobs);
    return status;
}
