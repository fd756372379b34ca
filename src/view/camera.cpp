// camera.cpp -- the follow step and the re-basing step
#include "view.h"
#include "map.h"
#include "player.h"
#include "monsters.h"
#include "weapons.h"

// The view follows the player towards higher tiles on one axis. `player` is
// the player's coordinate, pinned to `edge`; `lo` and `hi` are the origin's range.
static void scroll_forward(int &player, int edge, int &origin, int &offset, int lo, int hi) {
    offset += player - edge;
    player = edge;
    if (offset > TILE_SIZE) { // exactly 16 does not wrap; at most one wrap per call
        origin++;
        offset -= TILE_SIZE;
    }
    if (origin >= hi) { // the clamp drops the pixels past the bound
        origin = hi;
        offset = 0;
    }
    // Same place, told from one tile further in: keeps the opposite block able to run.
    if (origin == lo && offset != 0) {
        origin++;
        offset -= TILE_SIZE;
    }
}

// The mirror of scroll_forward, towards lower tiles.
static void scroll_back(int &player, int edge, int &origin, int &offset, int lo, int hi) {
    offset -= edge - player;
    player = edge;
    if (offset < -TILE_SIZE) {
        origin--;
        offset += TILE_SIZE;
    }
    if (origin <= lo) {
        origin = lo;
        offset = 0;
    }
    if (origin == hi && offset != 0) {
        origin--;
        offset += TILE_SIZE;
    }
}

void follow_player() {
    if (player_x > scroll_right_edge && view_tx < room_right - (VIEW_TILES - 1))
        scroll_forward(player_x, scroll_right_edge, view_tx, scroll_px, room_left, room_right - (VIEW_TILES - 1));
    if (player_x < scroll_left_edge && view_tx > room_left)
        scroll_back(player_x, scroll_left_edge, view_tx, scroll_px, room_left, room_right - (VIEW_TILES - 1));
    if (player_y > scroll_bottom_edge && view_ty < room_bottom - (VIEW_TILES - 1))
        scroll_forward(player_y, scroll_bottom_edge, view_ty, scroll_py, room_top, room_bottom - (VIEW_TILES - 1));
    if (player_y < scroll_top_edge && view_ty > room_top)
        scroll_back(player_y, scroll_top_edge, view_ty, scroll_py, room_top, room_bottom - (VIEW_TILES - 1));
}

void rebase_world(int old_tx, int old_ty, int old_px, int old_py) {
    // Negative when the view moved right or down: the world slides left or up.
    int dx = (old_tx - view_tx) * TILE_SIZE + (old_px - scroll_px);
    int dy = (old_ty - view_ty) * TILE_SIZE + (old_py - scroll_py);
    if (bomb_state == BOMB_LIT) {
        bomb_x += dx;
        bomb_y += dy;
    }
    for (Shot &s : shots)
        if (s.state == SHOT_FLYING) {
            s.x += dx;
            s.y += dy;
        }
    // Every slot, not only the first monster_count.
    for (Monster &m : monsters)
        if (m.status == MONSTER_ALIVE) {
            m.x += dx;
            m.y += dy;
        }
}
