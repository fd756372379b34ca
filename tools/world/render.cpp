// render.cpp -- the whole world drawn with the game's own art into one PNG
#include "world_tool.h"
#include "assets.h"
#include "map.h"
#include "checks.h"
#include <cstdio>
#include <loadpng.h>

// Largest picture side drawn: 1024 tiles of 16 pixels.
static const int MAX_PICTURE_SIDE = 16384;

bool has_entry(DATAFILE *data, int index, int type) {
    for (int i = 0; data && i <= index; i++)
        if (data[i].type == DAT_END)
            return false;
    return data && data[index].type == type;
}

BITMAP *datafile_art(DATAFILE *data, int index) {
    return has_entry(data, index, DAT_BITMAP) ? (BITMAP *)data[index].dat : nullptr;
}

// What stands in for art the datafile lacks: a crossed box in colour `c`.
static void placeholder(BITMAP *dest, int x, int y, int w, int h, int c) {
    rect(dest, x, y, x + w - 1, y + h - 1, c);
    line(dest, x, y, x + w - 1, y + h - 1, c);
    line(dest, x + w - 1, y, x, y + h - 1, c);
}

// Terrain as the game shows it (codes from 85 up look like 72), objects over it.
static void draw_tiles(BITMAP *pic, const World &world, DATAFILE *data, int x0, int y0, int x1, int y1) {
    for (int y = y0; y <= y1; y++)
        for (int x = x0; x <= x1; x++) {
            int px = (x - x0) * 16, py = (y - y0) * 16;
            int code = getpixel(world.layer[0], x, y);
            BITMAP *tile = datafile_art(data, TERRAIN_ART_BASE + terrain_rule(code).game_art);
            if (tile)
                blit(tile, pic, 0, 0, px, py, 16, 16);
            else
                placeholder(pic, px, py, 16, 16, 255);
            int o = getpixel(world.layer[1], x, y);
            BITMAP *sprite = object_kind(o) ? datafile_art(data, object_kind(o)->art_entry) : nullptr;
            if (sprite)
                draw_sprite(pic, sprite, px, py);
            else if (o > 0)
                placeholder(pic, px + 2, py + 2, 12, 12, 255);
        }
}

// Monsters last, each at its tile's corner, so the large ones show whole.
static void draw_monsters_of(BITMAP *pic, const World &world, DATAFILE *mobs, int x0, int y0, int x1, int y1) {
    for (int x = x0; x <= x1; x++)
        for (int y = y0; y <= y1; y++) {
            int k = getpixel(world.layer[2], x, y);
            if (k <= 0)
                continue;
            BITMAP *sprite = monster_kind(k) ? datafile_art(mobs, monster_kind(k)->art_entry) : nullptr;
            if (sprite)
                draw_sprite(pic, sprite, (x - x0) * 16, (y - y0) * 16);
            else
                placeholder(pic, (x - x0) * 16, (y - y0) * 16, 30, 20, 255);
        }
}

// Every other pixel black over the tiles a player could stand on but the
// reach proof never gets to.
static void shade_unreached(BITMAP *pic, const World &world, int x0, int y0, int x1, int y1) {
    ReachReport reach = reach_of_world(world);
    int w = world.layer[0]->w;
    for (int y = y0; y <= y1; y++)
        for (int x = x0; x <= x1; x++) {
            int code = getpixel(world.layer[0], x, y);
            bool ground = takes_objects_once_opened(code) || terrain_rule(code).ghost_passes;
            if (reach.reached[y * w + x] || terrain_rule(code).bounds_room || !ground)
                continue;
            for (int py = 0; py < 16; py++)
                for (int px = py & 1; px < 16; px += 2)
                    putpixel(pic, (x - x0) * 16 + px, (y - y0) * 16 + py, 0);
        }
}

int render_command(const std::string &png_file, bool reach) {
    DATAFILE *data = load_datafile("data.dat");
    DATAFILE *mobs = load_datafile("monster.dat");
    World world;
    int status = 1;
    if (!data || !mobs)
        fprintf(stderr, "render needs data.dat and monster.dat in this folder\n");
    else if (!has_entry(data, GAME_PALETTE, DAT_PALETTE))
        fprintf(stderr, "data.dat: entry %d is not the game palette\n", GAME_PALETTE);
    else if (load_world(world)) {
        int x0, y0, x1, y1;
        content_box(world, x0, y0, x1, y1);
        int w = (x1 - x0 + 1) * 16, h = (y1 - y0 + 1) * 16;
        if (w > MAX_PICTURE_SIDE || h > MAX_PICTURE_SIDE) {
            fprintf(stderr, "the world is %dx%d pixels, more than %d a side\n", w, h, MAX_PICTURE_SIDE);
        } else {
            BITMAP *pic = create_bitmap_ex(8, w, h);
            clear_to_color(pic, 0);
            draw_tiles(pic, world, data, x0, y0, x1, y1);
            draw_monsters_of(pic, world, mobs, x0, y0, x1, y1);
            if (reach)
                shade_unreached(pic, world, x0, y0, x1, y1);
            if (save_png(png_file.c_str(), pic, (RGB *)data[GAME_PALETTE].dat) == 0) {
                printf("%s: tiles %d..%d x %d..%d, %dx%d pixels\n", png_file.c_str(), x0, x1, y0, y1, w, h);
                status = 0;
            } else {
                fprintf(stderr, "%s: cannot be written\n", png_file.c_str());
            }
            destroy_bitmap(pic);
        }
        free_world(world);
    }
    if (data)
        unload_datafile(data);
    if (mobs)
        unload_datafile(mobs);
    return status;
}
