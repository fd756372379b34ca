// save_loop.cpp -- saves one layer file over and over, alternating between
// two contents, until it is killed; the kill test stops it at random moments.
// Usage: save_loop FILE SIDE
#include "map.h"
#include <cerrno>
#include <cstdlib>

// Content `which` (0 or 1) of a side x side layer: every tile tells which.
void fill_content(BITMAP *layer, int which) {
    for (int y = 0; y < layer->h; y++)
        for (int x = 0; x < layer->w; x++)
            putpixel(layer, x, y, (x * 7 + y * 13 + which * 101) & 255);
}

int main(int argc, char **argv) {
    if (argc != 3)
        return 2;
    install_allegro(SYSTEM_NONE, &errno, atexit);
    int side = atoi(argv[2]);
    BITMAP *contents[2] = {create_bitmap_ex(8, side, side), create_bitmap_ex(8, side, side)};
    fill_content(contents[0], 0);
    fill_content(contents[1], 1);
    PALETTE pal = {};
    for (int n = 0;; n++)
        if (write_layer_file(argv[1], contents[n & 1], pal) != 0)
            return 1;
}
