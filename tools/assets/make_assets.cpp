// make_assets.cpp -- writes the generated source art, sounds and tune into the assets folder
#include "art.h"
#include <cerrno>
#include <cstdio>

// A 16 x 16 swatch of the palette, 8 pixels a colour: the palette's source.
static void make_palette_swatch(const std::string &dir) {
    BITMAP *swatch = create_bitmap_ex(8, 128, 128);
    for (int c = 0; c < 256; c++)
        rectfill(swatch, (c % 16) * 8, (c / 16) * 8, (c % 16) * 8 + 7, (c / 16) * 8 + 7, c);
    save_art(dir, "palette.pcx", swatch);
    destroy_bitmap(swatch);
}

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s ASSETS_DIR\n", argv[0]);
        return 2;
    }
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        return 1;
    set_color_depth(8);
    std::string dir = argv[1];
    make_palette();
    make_palette_swatch(dir);
    make_tiles(dir);
    make_objects(dir);
    make_panel_and_effects(dir);
    make_player(dir);
    make_monsters(dir);
    make_sounds(dir);
    make_tune(dir);
    return 0;
}
