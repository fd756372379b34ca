// lamp.cpp -- the lamp: its light rings, the light table, and the dark frame it lights
//
// A dark frame starts black; with the lamp, the 160 x 160 window round the
// player is copied from the composed frame and darkened ring by ring through
// the light table, by the light level each pixel of lamp_sprite holds.
#include "view.h"
#include "player.h"

BITMAP *lamp_sprite;   // light levels of the lamp circle, 160 x 160
COLOR_MAP light_table; // the game palette faded towards black

void build_lamp_sprite() {
    clear_buffer(lamp_sprite);
    // Each later, smaller disc covers the middle of the earlier ones: the
    // ring at radius 80 - k gets level 4k + 3, the centre (radius 17) 255.
    for (int i = 0; i < 256; i++)
        circlefill(lamp_sprite, 80, 80, 80 - i / 4, i);
}

void make_light_table(const RGB *game_palette) {
    create_light_table(&light_table, game_palette, 0, 0, 0, NULL);
}

void use_light_table() { color_map = &light_table; }

// draw_trans_sprite skips lamp pixels of level 0, which would leave the
// window's corners outside the circle at full brightness: black them here.
static void black_outside_lamp(int x0, int y0) {
    for (int ly = 0; ly < lamp_sprite->h; ly++) {
        int y = y0 + ly;
        if (y < 0 || y >= dark_buffer->h)
            continue;
        for (int lx = 0; lx < lamp_sprite->w; lx++) {
            int x = x0 + lx;
            if (x >= 0 && x < dark_buffer->w && lamp_sprite->line[ly][lx] == 0)
                dark_buffer->line[y][x] = 0;
        }
    }
}

void present_dark_frame() {
    use_light_table();
    clear_buffer(dark_buffer);
    if (has_lamp == 1) {
        // The lamp's centre (80, 80) falls on (player_x + 12, player_y + 14).
        int x0 = player_x - 68, y0 = player_y - 66;
        blit(back_buffer, dark_buffer, x0, y0, x0, y0, 160, 160);
        draw_trans_sprite(dark_buffer, lamp_sprite, x0, y0);
        black_outside_lamp(x0, y0);
    }
    draw_panel(dark_buffer); // covers any of the window past x = 239
    present_region(dark_buffer, 0, 0, 0, 0, FRAME_W, FRAME_H);
}

