// monster_movement.cpp -- chasers, patrollers, and moving with collision
#include "monsters.h"
#include "map.h"
#include "player.h"

// Hit points the player loses for every step a monster takes into it.
static const int CONTACT_DAMAGE = 4;

// The most a chaser moves on one axis, or a patroller, in a frame.
static const int MONSTER_SPEED = 4;

// True when the terrain under any pixel of a line stops monsters: pixels
// first..last - 1 along it, at `across` on the other axis (columns when
// `vertical`). Each tile under the line is read once: the pixels of one tile
// share its answer. The shift floors, so a pixel just left of or above the
// view reads the tile before it.
static bool line_blocked(bool vertical, int across, int first, int last) {
    if (last <= first)
        return false;
    int scroll_across = vertical ? scroll_px : scroll_py, origin_across = vertical ? view_tx : view_ty;
    int scroll_along = vertical ? scroll_py : scroll_px, origin_along = vertical ? view_ty : view_tx;
    int tile_across = pixel_to_tile(origin_across, scroll_across, across);
    int tile_last = pixel_to_tile(origin_along, scroll_along, last - 1);
    for (int t = pixel_to_tile(origin_along, scroll_along, first); t <= tile_last; t++) {
        int code = vertical ? terrain_at(tile_across, t) : terrain_at(t, tile_across);
        if (terrain_rule(code).blocks_monsters)
            return true;
    }
    return false;
}

// Tests the whole leading edge of monster m with its probe at (px, py).
static bool edge_blocked(const Monster &m, int dir, int px, int py) {
    if (direction_rule(dir).horizontal)
        return line_blocked(true, dir == DIR_LEFT ? px : px + m.width, m.y, m.y + m.height);
    return line_blocked(false, dir == DIR_UP ? py : py + m.height, m.x, m.x + m.width);
}

// True when a w x h box at (a, b) overlaps the ow x oh box at (ox, oy).
static bool boxes_overlap(int a, int b, int w, int h, int ox, int oy, int ow, int oh) {
    return a > ox - w && a < ox + ow && b > oy - h && b < oy + oh;
}

// True when monster `index`, its box at (a, b), overlaps another live monster.
static bool other_monster_in_way(int index, int a, int b) {
    const Monster &m = monsters[index];
    for (int j = 0; j < monster_count; j++) {
        const Monster &o = monsters[j];
        if (j != index && o.status == MONSTER_ALIVE && boxes_overlap(a, b, m.width, m.height, o.x, o.y, o.width, o.height))
            return true;
    }
    return false;
}

// The probe runs one pixel ahead per step whether or not the step was free,
// and the body tests add the free steps on top of it, so they look ahead of
// the box by up to three pixels: a monster stops a little short of a body
// and closes the gap over the following frames.
void move_monster(int dir, int steps, int index) {
    Monster &m = monsters[index];
    const DirectionRule &d = direction_rule(dir);
    int px = m.x, py = m.y, dx = 0, dy = 0;
    bool blocked = false;
    for (int k = 0; k < steps; k++) {
        px += d.dx;
        py += d.dy;
        blocked = edge_blocked(m, dir, px, py);
        if (boxes_overlap(px + dx, py, m.width, m.height, player_x, player_y + 16, 24, 16)) {
            blocked = true;
            player_hp -= CONTACT_DAMAGE;
        }
        if (d.horizontal ? other_monster_in_way(index, px + dx, py) : other_monster_in_way(index, px, py + dy))
            blocked = true;
        if (!blocked) {
            dx += d.dx;
            dy += d.dy;
        }
    }
    // A patroller stopped on its last step turns round.
    MonsterMove move = monster_move(m.kind);
    if (blocked && move == MOVE_PATROL_HORIZONTAL)
        m.patrol_h = -m.patrol_h;
    if (blocked && move == MOVE_PATROL_VERTICAL)
        m.patrol_v = -m.patrol_v;
    m.x += dx;
    m.y += dy;
}

// Moves a chaser towards the player on one axis: up to 4 pixels, and a
// smaller gap exactly, so that there is no dead zone.
static void chase_axis(int index, int centre, int target, int dir_less, int dir_more) {
    int gap = centre > target ? centre - target : target - centre;
    int n = gap < MONSTER_SPEED ? gap : MONSTER_SPEED;
    if (centre > target)
        move_monster(dir_less, n, index);
    else if (centre < target)
        move_monster(dir_more, n, index);
}

void update_monsters() {
    for (int i = 0; i < monster_count; i++) {
        Monster &m = monsters[i];
        if (m.status != MONSTER_ALIVE)
            continue;
        MonsterMove move = monster_move(m.kind);
        if (move == MOVE_CHASE) {
            // Both centres are taken before the horizontal move.
            int cx = m.x + m.width / 2, cy = m.y + m.height / 2;
            chase_axis(i, cx, player_x + 12, DIR_LEFT, DIR_RIGHT);
            chase_axis(i, cy, player_y + 16, DIR_UP, DIR_DOWN);
        } else if (move == MOVE_PATROL_VERTICAL) {
            move_monster(m.patrol_v == 1 ? DIR_UP : DIR_DOWN, MONSTER_SPEED, i);
        } else if (move == MOVE_PATROL_HORIZONTAL) {
            move_monster(m.patrol_h == 1 ? DIR_LEFT : DIR_RIGHT, MONSTER_SPEED, i);
        }
    }
}
