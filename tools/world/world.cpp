// world.cpp -- the three layers of a world as the tool holds them
#include "world_tool.h"
#include "map.h"
#include <cstdio>

bool load_world(World &world) {
    bool ok = true;
    for (int i = 0; i < 3; i++) {
        world.layer[i] = load_layer(layer_file_name(i), palette);
        if (!world.layer[i]) {
            printf("%s: %s\n", layer_file_name(i), layer_error);
            ok = false;
        }
    }
    if (!ok)
        free_world(world);
    return ok;
}

void free_world(World &world) {
    for (BITMAP *&b : world.layer) {
        if (b)
            destroy_bitmap(b);
        b = nullptr;
    }
}

void content_box(const World &world, int &x0, int &y0, int &x1, int &y1) {
    BITMAP *t = world.layer[0];
    x0 = t->w;
    y0 = t->h;
    x1 = y1 = -1;
    for (int y = 0; y < t->h; y++)
        for (int x = 0; x < t->w; x++) {
            bool empty = true;
            for (BITMAP *b : world.layer)
                empty = empty && getpixel(b, x, y) <= 0;
            if (empty)
                continue;
            x0 = x < x0 ? x : x0;
            y0 = y < y0 ? y : y0;
            x1 = x > x1 ? x : x1;
            y1 = y > y1 ? y : y1;
        }
    if (x1 < 0) {
        x0 = y0 = 0;
        x1 = t->w - 1;
        y1 = t->h - 1;
        return;
    }
    x0 = x0 > 0 ? x0 - 1 : 0;
    y0 = y0 > 0 ? y0 - 1 : 0;
    x1 = x1 < t->w - 1 ? x1 + 1 : x1;
    y1 = y1 < t->h - 1 ? y1 + 1 : y1;
}

