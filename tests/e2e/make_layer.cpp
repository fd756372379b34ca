// make_layer.cpp -- writes an 8-bit PCX layer file of a given size filled with one code:
//   make_layer OUT WIDTH HEIGHT CODE
#include "map.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv) {
    if (argc != 5) {
        fprintf(stderr, "usage: make_layer OUT WIDTH HEIGHT CODE\n");
        return 2;
    }
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(8);
    BITMAP *bmp = create_bitmap_ex(8, atoi(argv[2]), atoi(argv[3]));
    if (!bmp)
        return 1;
    clear_to_color(bmp, atoi(argv[4]));
    PALETTE pal = {};
    return write_layer_file(argv[1], bmp, pal) == 0 ? 0 : 1;
}
