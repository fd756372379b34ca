// startup.cpp -- loading and checking the game's files, the colour tables, the buffers
#include "shell.h"
#include "assets.h"
#include "layers.h"
#include "view.h"
#include "player.h"
#include "monsters.h"
#include "weapons.h"
#include <cstdio>
#include <unistd.h>

BITMAP *back_buffer;   // every frame is composed here
BITMAP *dark_buffer;   // dark frames are composed here
BITMAP *lamp_sprite;   // light levels of the lamp circle
RGB_MAP rgb_table;     // nearest-colour lookup for the game palette
COLOR_MAP light_table; // the game palette faded towards black
COLOR_MAP trans_table; // the game palette blended half and half
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

void build_lamp_sprite() {
    clear_buffer(lamp_sprite);
    for (int i = 0; i < 256; i++)
        circlefill(lamp_sprite, 80, 80, 80 - i / 4, i);
}

int load_game_files() {
    set_color_depth(8); // keep datafile bitmaps 8-bit
    DATAFILE **data[] = {&game_data, &guy_data, &monster_data};
    for (int i = 0; i < 3; i++)
        if (!(*data[i] = load_checked_datafile(i)))
            return 1;
    BITMAP **layers[] = {&terrain_layer, &object_layer, &monster_layer};
    for (int i = 0; i < 3; i++)
        if (!(*layers[i] = load_checked_layer(i)))
            return 1;
    build_sprites();
    RGB *game_palette = (RGB *)game_data[GAME_PALETTE].dat;
    create_rgb_table(&rgb_table, game_palette, NULL);
    rgb_map = &rgb_table;
    create_light_table(&light_table, game_palette, 0, 0, 0, NULL);
    printf("\nGenerating Transparency Table (3.25 lines to go)\n");
    fflush(stdout);
    create_trans_table(&trans_table, game_palette, 128, 128, 128, NULL);
    return 0;
}

// Start-up steps 12..15: the dark buffer, the lamp, the colour map, the back buffer.
void create_buffers() {
    dark_buffer = create_bitmap(FRAME_W, FRAME_H);
    lamp_sprite = create_bitmap(160, 160);
    build_lamp_sprite();
    color_map = &light_table;
    back_buffer = create_bitmap(FRAME_W, FRAME_H); // the screen's size in the plain mode
    clear_buffer(back_buffer);
}

void reset_colour_zero() {
    vsync();
    set_color(0, &zero_rgb);
}

// Start-up steps 18..19: the first room, the player, bomb, shots, monsters.
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
