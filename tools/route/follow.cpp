// follow.cpp -- playing the world check's plan to the goal in the headless game, as a player at the keys would
//
// The plan names doors, objects, bombs and switch shots. Between them the
// player walks on "nodes": its collision box centred on two tiles side by
// side in one row (the proof's blocks), found by a breadth-first search over
// the terrain as it stands now (gates toggled, walls blasted, ghost walls
// once the cloak is held). Each frame the keys that bring the box nearer to
// the next node are held; the game's own rules do the rest, and the keys
// are recorded.
#include "follow.h"
#include "map.h"
#include "player.h"
#include "shell.h"
#include "shell_input.h"
#include <allegro.h>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const int NODE_X = 8, NODE_Y = 2; // a node's box corner within its left tile
int frames_left = 0;              // frames the follower may still play
bool ended = false;               // the game ended (goal, death) or the frames ran out

int box_x() { return view_tx * TILE_SIZE + scroll_px + player_x + PLAYER_BOX_LEFT; }
int box_y() { return view_ty * TILE_SIZE + scroll_py + player_y + PLAYER_BOX_TOP; }

// A tile the box may stand on: walkable, no exit, a ghost wall once the cloak is held.
bool open_tile(int tx, int ty) {
    const TerrainRule &r = terrain_rule(terrain_at(tx, ty));
    return (!r.blocks_player || (r.ghost_passes && has_ghost)) && !r.exit;
}
bool open_node(int tx, int ty) { return open_tile(tx, ty) && open_tile(tx + 1, ty); }

// Plays one frame with `keys` (PlayKey bits) held; Left Control too once the cloak is held.
void play_frame(unsigned keys) {
    if (ended)
        return;
    frame_update_and_draw();
    if (has_ghost)
        keys |= 1u << PLAY_LCONTROL;
    for (int k = 0; k < PLAY_KEY_COUNT; k++)
        set_play_key(k, (keys >> k) & 1);
    frame_input();
    ended = game_should_end() || --frames_left <= 0;
}

unsigned arrow(int dir) {
    return 1u << (dir == DIR_LEFT ? PLAY_LEFT : dir == DIR_RIGHT ? PLAY_RIGHT : dir == DIR_UP ? PLAY_UP : PLAY_DOWN);
}

// One frame from `at` towards `to` on one axis: the arrow held while far; when
// near, a frame with no arrow first, so that the speed ramp starts again and
// the next step is a short one.
void step_towards(int at, int to, int less, int more, bool &rested) {
    int d = to - at;
    if (abs(d) < 8 && !rested) {
        play_frame(0);
        rested = true;
        return;
    }
    play_frame(arrow(d < 0 ? less : more));
    rested = false;
}

// Walks the box corner to (x, y), within (sx, sy); the vertical first when
// moving across, so the box lines up with the row before it goes along it.
bool walk_to(int x, int y, int sx, int sy) {
    bool rested = false;
    for (int tries = 0; tries < 400 && !ended; tries++) {
        bool y_ok = abs(box_y() - y) <= sy, x_ok = abs(box_x() - x) <= sx;
        if (x_ok && y_ok)
            return true;
        if (!y_ok)
            step_towards(box_y(), y, DIR_UP, DIR_DOWN, rested);
        else
            step_towards(box_x(), x, DIR_LEFT, DIR_RIGHT, rested);
    }
    return false;
}

// The node the box stands on now (nearest), and the path of nodes from it to
// the nearest of `targets` (empty when none can be reached).
std::vector<int> path_to(const std::vector<int> &targets) {
    int w = terrain_layer->w, h = terrain_layer->h;
    int from_x = (box_x() - NODE_X + TILE_SIZE / 2) >> TILE_SHIFT, from_y = (box_y() - NODE_Y + TILE_SIZE / 2) >> TILE_SHIFT;
    std::vector<int> parent(w * h, -2), queue(1, from_y * w + from_x);
    parent[queue[0]] = -1;
    std::vector<char> wanted(w * h, 0);
    for (int t : targets)
        if (t >= 0 && t < w * h)
            wanted[t] = 1;
    for (size_t i = 0; i < queue.size(); i++) {
        int at = queue[i];
        if (wanted[at]) {
            std::vector<int> path;
            for (int p = at; p >= 0; p = parent[p])
                path.insert(path.begin(), p);
            return path;
        }
        for (const DirectionRule &d : DIRECTION_RULES) {
            int nx = at % w + d.dx, ny = at / w + d.dy;
            if (nx < 0 || ny < 0 || nx >= w - 1 || ny >= h || parent[ny * w + nx] != -2 || !open_node(nx, ny))
                continue;
            parent[ny * w + nx] = at;
            queue.push_back(ny * w + nx);
        }
    }
    return {};
}

// Walks node by node to the nearest of `targets`; false when no path was found.
bool go_to_nodes(const std::vector<int> &targets) {
    std::vector<int> path = path_to(targets);
    int w = terrain_layer->w;
    for (int node : path)
        if (!walk_to(node % w * TILE_SIZE + NODE_X, node / w * TILE_SIZE + NODE_Y, 4, 2))
            return false;
    return !path.empty();
}

// Through a door: to the node before it, then on until the room changes.
bool through_door(const PlanStep &s) {
    int w = terrain_layer->w;
    const DirectionRule &d = direction_rule(s.dir);
    int nx = d.horizontal ? (s.dir == DIR_RIGHT ? s.x - 2 : s.x + 1) : s.x, ny = d.horizontal ? s.y : s.y - d.dy;
    if (!go_to_nodes({ny * w + nx}))
        return false;
    int room = room_left * 100000 + room_top;
    for (int n = 0; n < 60 && !ended && room_left * 100000 + room_top == room; n++)
        play_frame(arrow(s.dir));
    play_frame(0); // the room-change step
    return room_left * 100000 + room_top != room;
}

// Onto the object: to a node whose box covers its tile.
bool take(const PlanStep &s) {
    int w = terrain_layer->w;
    return go_to_nodes({s.y * w + s.x, s.y * w + s.x - 1});
}

// A bomb whose centre lies on (x, y): the box corner over that tile, Space, the fuse.
bool bomb(const PlanStep &s) {
    int w = terrain_layer->w;
    if (!go_to_nodes({s.by * w + s.bx}) || !walk_to(s.x * TILE_SIZE, s.by * TILE_SIZE + NODE_Y, 6, 2))
        return false;
    play_frame(1u << PLAY_SPACE);
    for (int n = 0; n < 35; n++)
        play_frame(0);
    return true;
}

// A shot at the switch: on the block, facing the way, Alt, its flight.
bool shoot(const PlanStep &s) {
    int w = terrain_layer->w;
    if (!go_to_nodes({s.by * w + s.bx}))
        return false;
    play_frame(arrow(s.dir));
    play_frame(1u << PLAY_ALT);
    for (int n = 0; n < 30; n++)
        play_frame(0);
    return true;
}

} // namespace

const char *follow_plan(const std::vector<PlanStep> &steps, int frame_limit, int *failed_step) {
    frames_left = frame_limit;
    ended = false;
    *failed_step = -1;
    for (size_t i = 0; i < steps.size() && !ended; i++) {
        const PlanStep &s = steps[i];
        bool done = s.kind == PLAN_DOOR ? through_door(s) : s.kind == PLAN_TAKE ? take(s)
                    : s.kind == PLAN_BOMB ? bomb(s) : shoot(s);
        if (!done && !ended) {
            *failed_step = (int)i;
            break;
        }
    }
    return end_reason("input-ended");
}
