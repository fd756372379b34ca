// room_exit.cpp -- leaving a room: where the player and the view land beyond the wall crossed
#include "map.h"
#include "player.h"

// Where an exit puts the player, on the axis of travel, by direction.
struct ExitLanding {
    int dir;
    int player; // the player's coordinate on that axis
    int step;   // -1 leaving left or up, 1 right or down
};
static const ExitLanding exit_landings[4] = {
    {DIR_LEFT, 200, -1}, {DIR_RIGHT, 20, 1}, {DIR_UP, 190, -1}, {DIR_DOWN, 4, 1}};

static const ExitLanding &landing_of(int dir) {
    for (const ExitLanding &e : exit_landings)
        if (e.dir == dir)
            return e;
    return exit_landings[0];
}

int exit_view_origin(int dir, int low_wall, int high_wall) {
    return landing_of(dir).step < 0 ? low_wall - VIEW_TILES : high_wall + 1;
}

void exit_landing_tiles(int dir, int low_wall, int high_wall, int *first, int *last) {
    bool across = direction_rule(dir).horizontal;
    int origin = exit_view_origin(dir, low_wall, high_wall), at = landing_of(dir).player;
    *first = origin + ((at + (across ? PLAYER_BOX_LEFT : PLAYER_BOX_TOP)) >> TILE_SHIFT);
    *last = origin + ((at + (across ? PLAYER_BOX_RIGHT : PLAYER_BOX_BOTTOM)) >> TILE_SHIFT);
}

// Places the player at the far side of the play field and moves the view
// origin just beyond the boundary of the room being left: the view's far
// edge on the wall's outside going left or up, its near edge going right or
// down. A sub-tile offset pointing back into the old room is dropped by one
// more tile.
void take_room_exit(int dir) {
    if (direction_rule(dir).code == DIR_NONE)
        return;
    const ExitLanding &e = landing_of(dir);
    bool across = direction_rule(dir).horizontal;
    int &player = across ? player_x : player_y;
    int &origin = across ? view_tx : view_ty;
    int &scroll = across ? scroll_px : scroll_py;
    player = e.player;
    origin = across ? exit_view_origin(dir, room_left, room_right) : exit_view_origin(dir, room_top, room_bottom);
    if (scroll * e.step > 0) {
        scroll = 0;
        origin += e.step;
    }
}
