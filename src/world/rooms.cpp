// rooms.cpp -- rooms: measuring one, leaving one, and settling into the next
//
// A room change has two halves. When the player's probe meets an exit,
// take_room_exit puts the player at the far side of the play field and the
// view just beyond the wall crossed. At the start of the next frame the
// room-change step measures the new room and pulls the view inside it on the
// other axis, then resets the bomb, the shots and the monsters.
#include "layers.h"
#include "monsters.h"
#include "player.h"
#include "view.h"
#include "weapons.h"

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
        bool across = dir == DIR_LEFT || dir == DIR_RIGHT;
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

int pending_room_change = DIR_NONE; // room change to run at the next frame's start

// Pulls the view origin on one axis into [low, high], re-basing the player's
// coordinate on that axis so that it keeps its place in the world.
static void clamp_axis(int &origin, int &scroll, int &player, int low, int high) {
    if (origin < low) {
        player += (origin - low) * 16 + scroll;
        origin = low;
        scroll = 0;
    }
    if (origin > high) {
        player += (origin - high) * 16 + scroll;
        origin = high;
        scroll = 0;
    }
}

void room_change_step(int dir) {
    find_room_bounds(view_tx + 8, view_ty + 8);
    pending_room_change = DIR_NONE;
    if (dir == DIR_LEFT || dir == DIR_RIGHT)
        clamp_axis(view_ty, scroll_py, player_y, room_top, room_bottom - (VIEW_TILES - 1));
    else
        clamp_axis(view_tx, scroll_px, player_x, room_left, room_right - (VIEW_TILES - 1));
    reset_bomb();
    clear_shots();
    spawn_monsters();
}

// At most one step a frame: the step sets pending_room_change back to none.
void run_pending_room_change() {
    int dir = pending_room_change;
    if (dir == DIR_LEFT || dir == DIR_RIGHT || dir == DIR_UP || dir == DIR_DOWN)
        room_change_step(dir);
}
