// rooms.cpp -- measuring the room round a tile
#include "layers.h"

int room_left, room_right, room_top, room_bottom; // boundary tiles of the current room

static bool is_boundary(int code) {
    return code == CODE_BOUNDARY || code == CODE_EXIT;
}

// Steps from (tx, ty) by (dx, dy) until a boundary tile; a scan that runs off
// the layer stops on the last tile inside it, so an open room cannot hang.
static int scan(int tx, int ty, int dx, int dy) {
    int w = terrain_layer ? terrain_layer->w : 0, h = terrain_layer ? terrain_layer->h : 0;
    int x = tx, y = ty;
    for (;;) {
        int nx = x + dx, ny = y + dy;
        bool inside = nx >= 0 && ny >= 0 && nx < w && ny < h;
        if (!inside) {
            // Already off the layer (a start tile outside it): stay where we are.
            bool start_inside = x >= 0 && y >= 0 && x < w && y < h;
            return start_inside ? (dx ? x : y) : (dx ? nx : ny);
        }
        x = nx;
        y = ny;
        if (is_boundary(getpixel(terrain_layer, x, y)))
            return dx ? x : y;
    }
}

void find_room_bounds(int tx, int ty) {
    room_left = scan(tx, ty, -1, 0);
    room_right = scan(tx, ty, 1, 0);
    room_top = scan(tx, ty, 0, -1);
    room_bottom = scan(tx, ty, 0, 1);
}
