// frame_setup.cpp -- making the frame buffers, the lamp and the colour tables at start-up
#include "view.h"
#include <cstdio>

void build_colour_tables(const RGB *game_palette) {
    create_rgb_table(&rgb_table, game_palette, NULL);
    rgb_map = &rgb_table; // also makes the next two tables fast to build
    make_light_table(game_palette);
    printf("\nGenerating Transparency Table (3.25 lines to go)\n");
    fflush(stdout);
    create_trans_table(&trans_table, game_palette, 128, 128, 128, NULL);
}

// In this order: the dark buffer, the lamp, the light table in use, the back
// buffer (frame-sized whatever the screen's size).
void create_buffers() {
    dark_buffer = create_bitmap(FRAME_W, FRAME_H);
    lamp_sprite = create_bitmap(160, 160);
    build_lamp_sprite();
    use_light_table();
    back_buffer = create_bitmap(FRAME_W, FRAME_H);
    clear_buffer(back_buffer);
}
