// startup.cpp -- loading and checking the game's files, the colour tables, the buffers
#include "shell.h"
#include "assets.h"
#include "map.h"
#include "view.h"
#include "player.h"
#include "monsters.h"
#include "weapons.h"
#include <cstdio>
#include <unistd.h>

RGB zero_rgb = {0, 0, 0, 0}; // black, for palette entry 0

static const char *const datafile_names[] = {"data.dat", "guy.dat", "monster.dat"};

// Loads datafile `which` and checks every entry the game uses.
static DATAFILE *load_checked_datafile(int which) {
    const char *name = datafile_names[which];
    char why[200];
    DATAFILE *data = load_checked_datafile_file(name, why, sizeof why);
    if (data && !check_datafile(data, which, why, sizeof why)) {
        unload_datafile(data);
        data = nullptr;
    }
    if (!data)
        fprintf(stderr, "%s: %s\n", name, why);
    return data;
}

// Loads one layer file and checks that it fits the layers loaded before it.
static BITMAP *load_checked_layer(int layer) {
    const char *name = layer_file_name(layer);
    BITMAP *bmp = load_layer(name, palette);
    if (!bmp) {
        fprintf(stderr, "%s: %s\n", name, layer_error);
        return nullptr;
    }
    char why[200];
    if (!layer_fits_world(layer, bmp, why, sizeof why)) {
        fprintf(stderr, "%s: %s\n", name, why);
        destroy_bitmap(bmp);
        return nullptr;
    }
    return bmp;
}


int load_game_files() {
    set_color_depth(8); // keep datafile bitmaps 8-bit
    DATAFILE **data[] = {&game_data, &guy_data, &monster_data};
    for (int i = 0; i < 3; i++)
        if (!(*data[i] = load_checked_datafile(i)))
            return 1;
    for (int i = 0; i < 3; i++)
        if (!(*LAYERS[i].bitmap = load_checked_layer(i)))
            return 1;
    build_sprites();
    build_colour_tables((RGB *)game_data[GAME_PALETTE].dat);
    return 0;
}

void reset_colour_zero() {
    vsync();
    set_color(0, &zero_rgb);
}

// The first room, the player, the bomb, the shots and the monsters.
void enter_first_room() {
    find_room_bounds(view_tx + 8, view_ty + 8);
    reset_player();
    reset_bomb();
    clear_shots();
    spawn_monsters();
}

void shutdown_game() {
    DATAFILE **data[] = {&game_data, &guy_data, &monster_data};
    for (DATAFILE **d : data) {
        if (*d)
            unload_datafile(*d);
        *d = nullptr;
    }
    free_sprites();
    BITMAP **bitmaps[] = {&back_buffer, &terrain_layer, &object_layer, &monster_layer, &lamp_sprite, &dark_buffer};
    for (BITMAP **b : bitmaps) {
        if (*b)
            destroy_bitmap(*b);
        *b = nullptr;
    }
}
