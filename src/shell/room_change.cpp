// room_change.cpp -- settling into the next room at the start of a frame
//
// A room change has two halves. When the player's probe meets an exit,
// take_room_exit puts the player at the far side of the play field and the
// view just beyond the wall crossed. At the start of the next frame the
// room-change step measures the new room and pulls the view inside it on the
// other axis, then resets the bomb, the shots and the monsters.
#include "shell.h"
#include "map.h"
#include "monsters.h"
#include "player.h"
#include "weapons.h"

int pending_room_change = DIR_NONE; // room change to run at the next frame's start

// Pulls the view origin on one axis into [low, high], re-basing the player's
// coordinate on that axis so that it keeps its place in the world.
static void clamp_axis(int &origin, int &scroll, int &player, int low, int high) {
    if (origin < low) {
        player += (origin - low) * TILE_SIZE + scroll;
        origin = low;
        scroll = 0;
    }
    if (origin > high) {
        player += (origin - high) * TILE_SIZE + scroll;
        origin = high;
        scroll = 0;
    }
}

void room_change_step(int dir) {
    find_room_bounds(view_tx + 8, view_ty + 8);
    pending_room_change = DIR_NONE;
    if (direction_rule(dir).horizontal)
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
    if (direction_rule(dir).code != DIR_NONE)
        room_change_step(dir);
}
