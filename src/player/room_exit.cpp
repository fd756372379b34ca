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

// Places the player at the far side of the play field and moves the view
// origin just beyond the boundary of the room being left: the view's far
// edge on the wall's outside going left or up, its near edge going right or
// down. A sub-tile offset pointing back into the old room is dropped by one
// more tile.
void take_room_exit(int dir) {
    for (const ExitLanding &e : exit_landings) {
        if (e.dir != dir)
            continue;
        bool across = direction_rule(dir).horizontal;
        int &player = across ? player_x : player_y;
        int &origin = across ? view_tx : view_ty;
        int &scroll = across ? scroll_px : scroll_py;
        int wall = e.step < 0 ? (across ? room_left : room_top) : (across ? room_right : room_bottom);
        player = e.player;
        origin = e.step < 0 ? wall - VIEW_TILES : wall + 1;
        if (scroll * e.step > 0) {
            scroll = 0;
            origin += e.step;
        }
    }
}
