// rooms.cpp -- rooms: the boundary tiles round the tile a room is measured from
#include "map.h"

int room_left, room_right, room_top, room_bottom; // boundary tiles of the current room

// Steps from (tx, ty) by (dx, dy) until a boundary tile. A scan whose next
// tile is off the layer stops where it is (the last tile inside the layer),
// so an open room cannot hang the game.
static int scan(int tx, int ty, int dx, int dy) {
    int x = tx, y = ty;
    for (;;) {
        int code = terrain_at(x + dx, y + dy);
        if (code < 0)
            return dx ? x : y;
        x += dx;
        y += dy;
        if (terrain_rule(code).bounds_room)
            return dx ? x : y;
    }
}

void find_room_bounds(int tx, int ty) {
    room_left = scan(tx, ty, -1, 0);
    room_right = scan(tx, ty, 1, 0);
    room_top = scan(tx, ty, 0, -1);
    room_bottom = scan(tx, ty, 0, 1);
}
