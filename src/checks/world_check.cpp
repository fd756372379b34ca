// world_check.cpp -- validating a world: layer sizes, closed rooms, start, codes, monsters, exits
#include "checks.h"
#include "map.h"
#include "monsters.h"
#include "player.h"
#include <cstdarg>
#include <cstdio>
#include <algorithm>
#include <set>

const char *const LAYER_TITLES[3] = {"terrain", "object", "monster"}; // as messages name the layers

// Longest run of lines of one kind of problem before they are summed up.
static const int MAX_LINES_PER_KIND = 20;

// A room: a 4-connected area of tiles that are not boundary (0 or 74) and
// that holds at least one tile the player can stand on.
struct Room {
    int left, top, right, bottom; // bounding walls, like find_room_bounds on a rectangle
    int tx, ty;                   // first walkable tile, used to name the room
    bool dark;                    // holds floor 53 or 54
    bool open;                    // reaches the layer's edge
    int edge_x, edge_y, edge_dir; // a tile of it on the edge and the way out
};

// The box of a monster marker in world pixels.
struct Marker {
    int tx, ty, kind;
    int x0, y0, x1, y1; // half-open: x0 .. x1 - 1
};

// A place where the player arrives in a room, in tiles, and how it is named.
struct Arrival {
    int x0, y0, x1, y1;
    std::string how;
};

// What the checks share: the layers, the rooms and the problems found.
struct Checker {
    BITMAP *terrain, *objects, *monsters;
    int w, h;                        // size of the terrain layer
    std::vector<int> region;         // room index per tile, -1 = boundary or no room
    std::vector<Room> rooms;
    std::vector<Marker> markers;     // every monster marker of the layer
    std::vector<Arrival> arrivals;   // the start and every exit's arrival place
    std::vector<bool> reached;       // tiles the player can walk to from an arrival place
    std::vector<std::string> lines;  // the problems
    std::vector<std::string> warnings; // what makes the world unfair, not broken
};

// One line of a report, `prefix` first.
static void add_line(std::vector<std::string> &to, const char *prefix, const char *format, va_list args) {
    char line[512];
    vsnprintf(line, sizeof line, format, args);
    to.push_back(std::string(prefix) + line);
}

static void problem(Checker &c, const char *format, ...) {
    va_list args;
    va_start(args, format);
    add_line(c.lines, "", format, args);
    va_end(args);
}

static void warning(Checker &c, const char *format, ...) {
    va_list args;
    va_start(args, format);
    add_line(c.warnings, "warning: ", format, args);
    va_end(args);
}

static bool is_boundary(int code) { return terrain_rule(code).bounds_room; }

// A tile the player stands on: not blocking, and no exit.
static bool walkable(int code) { return !terrain_rule(code).blocks_player && !terrain_rule(code).exit; }

static int room_at(const Checker &c, int x, int y) {
    if (x < 0 || y < 0 || x >= c.w || y >= c.h)
        return -1;
    return c.region[y * c.w + x];
}

// Floods the area of non-boundary tiles round (sx, sy) and records it as a
// room when the player can stand anywhere in it.
static void flood_room(Checker &c, int sx, int sy, std::vector<int> &mark, int id) {
    Room room = {sx, sy, sx, sy, -1, -1, false, false, 0, 0, 0};
    std::vector<int> todo(1, sy * c.w + sx), tiles;
    mark[todo[0]] = id;
    while (!todo.empty()) {
        int at = todo.back();
        todo.pop_back();
        tiles.push_back(at);
        int x = at % c.w, y = at / c.w, code = layer_code(c.terrain, x, y);
        if (walkable(code) && (room.tx < 0 || y < room.ty || (y == room.ty && x < room.tx))) {
            room.tx = x;
            room.ty = y;
        }
        room.dark |= terrain_rule(code).dark;
        room.left = x < room.left ? x : room.left;
        room.right = x > room.right ? x : room.right;
        room.top = y < room.top ? y : room.top;
        room.bottom = y > room.bottom ? y : room.bottom;
        for (const DirectionRule &d : DIRECTION_RULES) {
            int nx = x + d.dx, ny = y + d.dy;
            if (nx < 0 || ny < 0 || nx >= c.w || ny >= c.h) {
                if (!room.open) {
                    room.open = true;
                    room.edge_x = x;
                    room.edge_y = y;
                    room.edge_dir = d.code;
                }
                continue;
            }
            int n = ny * c.w + nx;
            if (mark[n] == -2 && !is_boundary(layer_code(c.terrain, nx, ny))) {
                mark[n] = id;
                todo.push_back(n);
            }
        }
    }
    if (room.tx < 0)
        return; // solid wall only: no room
    room.left--;
    room.top--;
    room.right++;
    room.bottom++;
    for (int t : tiles)
        c.region[t] = (int)c.rooms.size();
    c.rooms.push_back(room);
}

static void find_rooms(Checker &c) {
    std::vector<int> mark(c.w * c.h, -2);
    c.region.assign(c.w * c.h, -1);
    int id = 0;
    for (int y = 0; y < c.h; y++)
        for (int x = 0; x < c.w; x++)
            if (mark[y * c.w + x] == -2 && !is_boundary(layer_code(c.terrain, x, y)))
                flood_room(c, x, y, mark, id++);
}

static void check_sizes(Checker &c) {
    BITMAP *l[3] = {c.terrain, c.objects, c.monsters};
    if (l[1]->w == l[0]->w && l[1]->h == l[0]->h && l[2]->w == l[0]->w && l[2]->h == l[0]->h)
        return;
    problem(c, "layers of different sizes: map.map is %dx%d, obj.map is %dx%d, mob.map is %dx%d", l[0]->w,
            l[0]->h, l[1]->w, l[1]->h, l[2]->w, l[2]->h);
}

// The first view, origin (66, 151), draws tiles 65..81 x 150..166; the player
// starts at play-field (120, 160), its collision box on tiles (73..74, 162).
static void check_start(Checker &c) {
    const int vx = START_VIEW_TX, vy = START_VIEW_TY;
    BITMAP *l[3] = {c.terrain, c.objects, c.monsters};
    for (int i = 0; i < 3; i++)
        if (l[i]->w < MIN_LAYER_W || l[i]->h < MIN_LAYER_H) {
            problem(c, "start view: origin (%d, %d) draws tiles %d..%d x %d..%d, outside the %s layer (%dx%d)", vx, vy,
                    vx - 1, vx + VIEW_TILES, vy - 1, vy + VIEW_TILES, LAYER_TITLES[i], l[i]->w, l[i]->h);
            return;
        }
    if (room_at(c, vx + 8, vy + 8) < 0) {
        problem(c, "start: tile (%d, %d), where the first room is measured, is in no room", vx + 8, vy + 8);
        return;
    }
    int x0 = pixel_to_tile(vx, 0, PLAYER_START_X + PLAYER_BOX_LEFT);
    int x1 = pixel_to_tile(vx, 0, PLAYER_START_X + PLAYER_BOX_RIGHT);
    int y = pixel_to_tile(vy, 0, PLAYER_START_Y + PLAYER_BOX_TOP);
    for (int x = x0; x <= x1; x++)
        if (!walkable(layer_code(c.terrain, x, y)))
            problem(c, "start: the player starts in a wall: tile (%d, %d) has code %d", x, y,
                    layer_code(c.terrain, x, y));
    char how[64];
    snprintf(how, sizeof how, "the start (%d..%d, %d)", x0, x1, y);
    c.arrivals.push_back({x0, y, x1, y, how});
}

// Codes the game has no meaning or art for, summed up after a few lines.
static void check_codes(Checker &c, BITMAP *layer, int highest, const char *what) {
    int count = 0;
    for (int y = 0; y < layer->h; y++)
        for (int x = 0; x < layer->w; x++) {
            int v = layer_code(layer, x, y);
            if (v <= highest)
                continue;
            if (++count <= MAX_LINES_PER_KIND)
                problem(c, "%s %d at (%d, %d): the highest is %d", what, v, x, y, highest);
        }
    if (count > MAX_LINES_PER_KIND)
        problem(c, "... and %d more tiles with %s above %d", count - MAX_LINES_PER_KIND, what, highest);
}

// The drawn tiles of every view of a room: on each axis the origin stays in
// left .. right - 14 (a narrower room keeps it at either end), and a view
// draws from origin - 1 to origin + 15.
static void view_block(const Room &r, int &x0, int &y0, int &x1, int &y1) {
    const int last = VIEW_TILES - 1;
    x0 = std::min(r.left, r.right - last) - 1;
    x1 = std::max(r.left, r.right - last) + VIEW_TILES;
    y0 = std::min(r.top, r.bottom - last) - 1;
    y1 = std::max(r.top, r.bottom - last) + VIEW_TILES;
}

static void check_rooms(Checker &c) {
    for (const Room &r : c.rooms) {
        if (r.open) {
            problem(c, "room round (%d, %d) is not closed: a scan from (%d, %d) going %s reaches the layer's edge",
                    r.tx, r.ty, r.edge_x, r.edge_y, direction_rule(r.edge_dir).name);
            continue;
        }
        int x0, y0, x1, y1;
        view_block(r, x0, y0, x1, y1);
        if (x0 < 0 || y0 < 0 || x1 >= c.w || y1 >= c.h) {
            problem(c, "room round (%d, %d): its views draw tiles %d..%d x %d..%d, outside the layers", r.tx, r.ty,
                    x0, x1, y0, y1);
            continue;
        }
        if (r.dark)
            continue;
        // A frame is dark when any drawn tile is 53 or 54, even a neighbour's.
        for (int y = y0; y <= y1; y++)
            for (int x = x0; x <= x1; x++) {
                int code = layer_code(c.terrain, x, y);
                if (terrain_rule(code).dark) {
                    problem(c, "room round (%d, %d) has no dark floor, but its view shows the dark floor at (%d, %d) "
                               "and would be drawn dark", r.tx, r.ty, x, y);
                    x = x1;
                    y = y1;
                }
            }
    }
}

static Marker marker(int tx, int ty, int kind) {
    int w, h;
    monster_kind_size(kind, &w, &h);
    return {tx, ty, kind, tx * 16, ty * 16, tx * 16 + w, ty * 16 + h};
}

static bool overlap(const Marker &a, const Marker &b) {
    return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

// A monster whose box starts on tiles it cannot move on (52 or less) is stuck.
static void check_marker_terrain(Checker &c, const Marker &m, int &count) {
    int x, y, code;
    if (monster_starts_in_wall(c.terrain, m.kind, m.tx, m.ty, &x, &y, &code) && ++count <= MAX_LINES_PER_KIND)
        problem(c, "monster kind %d at (%d, %d) starts inside a wall: its box covers (%d, %d), code %d", m.kind, m.tx,
                m.ty, x, y, code);
}

// Monsters are spawned from the room's left and top wall lines up to, not
// including, its right and bottom ones.
static void check_monsters(Checker &c) {
    int stuck = 0, overlaps = 0;
    std::vector<bool> spawned(c.w * c.h, false);
    for (const Room &r : c.rooms) {
        std::vector<Marker> found;
        for (int x = r.left; x < r.right; x++)
            for (int y = r.top; y < r.bottom; y++) {
                int kind = layer_code(c.monsters, x, y);
                if (kind <= 0)
                    continue;
                found.push_back(marker(x, y, kind));
                if (x >= 0 && y >= 0 && x < c.w && y < c.h)
                    spawned[y * c.w + x] = true;
            }
        if (found.size() > 100)
            problem(c, "room round (%d, %d) has %zu monster markers; only 100 are spawned", r.tx, r.ty,
                    found.size());
        for (size_t i = 0; i < found.size(); i++) {
            check_marker_terrain(c, found[i], stuck);
            for (size_t j = i + 1; j < found.size(); j++)
                if (overlap(found[i], found[j]) && ++overlaps <= MAX_LINES_PER_KIND)
                    problem(c, "monster markers at (%d, %d) and (%d, %d) overlap: they block each other for ever",
                            found[i].tx, found[i].ty, found[j].tx, found[j].ty);
        }
    }
    if (stuck > MAX_LINES_PER_KIND)
        problem(c, "... and %d more monsters inside walls", stuck - MAX_LINES_PER_KIND);
    if (overlaps > MAX_LINES_PER_KIND)
        problem(c, "... and %d more overlapping monster markers", overlaps - MAX_LINES_PER_KIND);
    int lost = 0;
    for (int y = 0; y < c.monsters->h && y < c.h; y++)
        for (int x = 0; x < c.monsters->w && x < c.w; x++)
            if (layer_code(c.monsters, x, y) > 0 && !spawned[y * c.w + x] && ++lost <= MAX_LINES_PER_KIND)
                problem(c, "monster marker at (%d, %d) lies in no room and never appears", x, y);
}

// Objects are taken only from tiles above 52; the goal must be somewhere.
static void check_objects(Checker &c) {
    int lost = 0;
    bool goal = false;
    for (int y = 0; y < c.objects->h; y++)
        for (int x = 0; x < c.objects->w; x++) {
            int o = layer_code(c.objects, x, y);
            if (o <= 0)
                continue;
            // Under a cracked wall or a gate it can be taken once that opens.
            int code = layer_code(c.terrain, x, y);
            if (object_can_be_taken(c.terrain, x, y) && room_at(c, x, y) >= 0) {
                goal |= o == OBJECT_GOAL;
                continue;
            }
            if (++lost <= MAX_LINES_PER_KIND)
                problem(c, "object %d at (%d, %d) lies on terrain code %d and can never be taken", o, x, y, code);
        }
    if (!goal)
        problem(c, "no goal object (2) that can be taken: the game cannot be finished");
}

// The view origins, on the axis across an exit, from which the player can
// reach it: the player's collision edge lies at world pixel p (first..last)
// and `offset` is the distance from the sprite's corner to that edge; the
// camera keeps the corner within `near`..`far` of the view (7 pixels of
// walking either way), except before `near` at the range's low end and
// beyond `far` at its high end, where it cannot follow.
static std::set<int> reaching_origins(int wall_lo, int wall_hi, int first, int last, int offset, int near,
                                      int far) {
    std::set<int> origins;
    int lo = wall_lo, hi = wall_hi - (VIEW_TILES - 1);
    if (hi <= lo) {
        // Narrow: kept at either end, by the way the room was entered.
        origins.insert(lo);
        origins.insert(hi);
        return origins;
    }
    for (int v = lo * 16; v <= hi * 16; v++)
        for (int p = first; p <= last; p++) {
            // At an end of the range the camera stops following on that side.
            int corner = p - offset - v;
            int least = v == lo * 16 ? -32 : near - 7, most = v == hi * 16 ? 240 : far + 7;
            if (corner >= least && corner <= most) {
                origins.insert(v >> 4);
                origins.insert((v + 15) >> 4);
                break;
            }
        }
    return origins;
}

// One exit: a run of code 74 from (x, y) along the wall, left by `dir`.
struct Exit {
    int x, y, dir;
    int first, last; // the run across the direction of travel, in tiles
};

// Where the player stands after leaving through `e` (the exit table, with the
// sub-tile offset 0 it has at a wall; a positive offset would put the view a
// tile further and the camera pulls it back to the wall):
//  - right: view_tx = room_right + 1, player_x = 20, collision columns
//    x + 4 .. x + 19 = 24..39 -> tiles room_right + 2 .. room_right + 3;
//  - left: view_tx = room_left - 15, player_x = 200, columns 204..219 ->
//    tiles view_tx + 12 .. + 13 = room_left - 3 .. room_left - 2;
//  - up: view_ty = room_top - 15, player_y = 190, collision rows y + 20 ..
//    y + 31 = 210..221 -> tile view_ty + 13 = room_top - 2;
//  - down: view_ty = room_bottom + 1, player_y = 4, rows 24..35 -> tiles
//    room_bottom + 2 .. room_bottom + 3.
// Across the travel the player keeps its place in the world: its leading
// collision edge starts on the exit run and its 12 rows (16 columns) may hang
// one tile past the run's end, but not past the old room's far wall.
static void arrival_place(const Exit &e, int &ax0, int &ay0, int &ax1, int &ay1) {
    int R = room_right, B = room_bottom;
    if (direction_rule(e.dir).horizontal) {
        exit_landing_tiles(e.dir, room_left, room_right, &ax0, &ax1);
        ay0 = e.first;
        ay1 = e.last + 1 < B - 1 ? e.last + 1 : B - 1;
    } else {
        exit_landing_tiles(e.dir, room_top, room_bottom, &ay0, &ay1);
        ax0 = e.first;
        ax1 = e.last + 1 < R - 1 ? e.last + 1 : R - 1;
    }
}

// The tiles where the room-change step measures the new room: (view_tx + 8,
// view_ty + 8) with the new origin on the axis of travel and the old one,
// wherever the player could have reached the exit from, across it.
static std::vector<std::pair<int, int>> measure_tiles(const Exit &e) {
    std::vector<std::pair<int, int>> tiles;
    int L = room_left, R = room_right, T = room_top, B = room_bottom;
    if (direction_rule(e.dir).horizontal) {
        int mx = exit_view_origin(e.dir, L, R) + 8;
        int last = e.last * 16 + 15 < B * 16 - 12 ? e.last * 16 + 15 : B * 16 - 12;
        for (int t : reaching_origins(T, B, e.first * 16, last, PLAYER_BOX_TOP, scroll_top_edge, scroll_bottom_edge))
            tiles.push_back({mx, t + 8});
    } else {
        int my = exit_view_origin(e.dir, T, B) + 8;
        int last = e.last * 16 + 15 < R * 16 - 16 ? e.last * 16 + 15 : R * 16 - 16;
        for (int t : reaching_origins(L, R, e.first * 16, last, PLAYER_BOX_LEFT, scroll_left_edge, scroll_right_edge))
            tiles.push_back({t + 8, my});
    }
    return tiles;
}

static void check_exit(Checker &c, const Exit &e) {
    const char *where = direction_rule(e.dir).name;
    int ax0, ay0, ax1, ay1;
    arrival_place(e, ax0, ay0, ax1, ay1);
    for (int y = ay0; y <= ay1; y++)
        for (int x = ax0; x <= ax1; x++) {
            int code = layer_code(c.terrain, x, y);
            if (code < 0) {
                problem(c, "exit at (%d, %d) leading %s: its arrival place (%d, %d) lies outside the layers", e.x,
                        e.y, where, x, y);
                return;
            }
            if (!walkable(code) || room_at(c, x, y) < 0) {
                problem(c, "exit at (%d, %d) leading %s: its arrival place (%d..%d, %d..%d) is a wall "
                           "(code %d at (%d, %d))", e.x, e.y, where, ax0, ax1, ay0, ay1, code, x, y);
                return;
            }
        }
    // A monster waiting there hurts the player at once and blocks the way back.
    Marker place = {ax0, ay0, 0, ax0 * 16, ay0 * 16, ax1 * 16 + 16, ay1 * 16 + 16};
    for (const Marker &m : c.markers)
        if (overlap(m, place))
            problem(c, "exit at (%d, %d) leading %s: the monster at (%d, %d) stands on its arrival place", e.x, e.y,
                    where, m.tx, m.ty);
    char how[96];
    snprintf(how, sizeof how, "the arrival place of the exit at (%d, %d) leading %s", e.x, e.y, where);
    c.arrivals.push_back({ax0, ay0, ax1, ay1, how});
    int arrival = room_at(c, ax0, ay0);
    for (auto [mx, my] : measure_tiles(e))
        if (room_at(c, mx, my) != arrival) {
            problem(c, "exit at (%d, %d) leading %s: the room measured after it, from tile (%d, %d), is not the "
                       "room of its arrival place (%d, %d)", e.x, e.y, where, mx, my, ax0, ay0);
            return;
        }
}

// Finds every run of exit tiles in a room's wall and checks where it leads.
static void check_exits(Checker &c) {
    for (int y = 0; y < c.h; y++)
        for (int x = 0; x < c.w; x++) {
            if (!terrain_rule(layer_code(c.terrain, x, y)).exit)
                continue;
            for (const DirectionRule &d : DIRECTION_RULES) {
                int dir = d.code;
                // The room tile beside the exit (a step back), and the step along the wall.
                int ix = x - d.dx, iy = y - d.dy;
                int sx = d.horizontal ? 0 : 1, sy = 1 - sx;
                auto in_run = [&](int k) {
                    return terrain_rule(layer_code(c.terrain, x + k * sx, y + k * sy)).exit &&
                           walkable(layer_code(c.terrain, ix + k * sx, iy + k * sy)) &&
                           room_at(c, ix + k * sx, iy + k * sy) >= 0;
                };
                if (!in_run(0) || in_run(-1))
                    continue; // not an exit this way, or not the start of its run
                int n = 1;
                while (in_run(n))
                    n++;
                Exit e = {x, y, dir, sx ? x : y, (sx ? x : y) + n - 1};
                terrain_layer = c.terrain;
                find_room_bounds(ix, iy);
                check_exit(c, e);
            }
        }
}

// --- Fairness: what a newcomer should not meet --------------------------------

// How far apart two tile rectangles are: 0 when they touch or overlap.
static int tile_gap(int ax0, int ay0, int ax1, int ay1, int bx0, int by0, int bx1, int by1) {
    int dx = std::max({0, bx0 - ax1, ax0 - bx1}), dy = std::max({0, by0 - ay1, ay0 - by1});
    return std::max(dx, dy);
}

// Monsters hit on contact: none may wait within 4 tiles of where the player
// comes into its room.
static void check_arrival_distance(Checker &c) {
    const int NEAREST = 4;
    for (const Arrival &a : c.arrivals)
        for (const Marker &m : c.markers) {
            int mx1 = (m.x1 - 1) / 16, my1 = (m.y1 - 1) / 16;
            if (room_at(c, m.tx, m.ty) != room_at(c, a.x0, a.y0) ||
                tile_gap(a.x0, a.y0, a.x1, a.y1, m.tx, m.ty, mx1, my1) > NEAREST)
                continue;
            warning(c, "monster kind %d at (%d, %d) waits within %d tiles of %s", m.kind, m.tx, m.ty, NEAREST,
                    a.how.c_str());
        }
}

// A tile the player walks on, counting walls that a bomb, a switch or the
// cloak opens; exits lead out of the room.
static bool passable(int code) {
    const TerrainRule &r = terrain_rule(code);
    bool opens = r.ghost_passes || (r.blocks_player && takes_objects_once_opened(code));
    return (!r.blocks_player || opens) && !r.exit;
}

// Marks the passable tiles joined to an arrival place (or the start).
static void find_reached(Checker &c) {
    c.reached.assign(c.w * c.h, false);
    std::vector<int> todo;
    for (const Arrival &a : c.arrivals)
        for (int y = a.y0; y <= a.y1; y++)
            for (int x = a.x0; x <= a.x1; x++)
                if (passable(layer_code(c.terrain, x, y)) && !c.reached[y * c.w + x]) {
                    c.reached[y * c.w + x] = true;
                    todo.push_back(y * c.w + x);
                }
    while (!todo.empty()) {
        int at = todo.back(), x = at % c.w, y = at / c.w;
        todo.pop_back();
        for (const DirectionRule &d : DIRECTION_RULES) {
            int nx = x + d.dx, ny = y + d.dy;
            if (passable(layer_code(c.terrain, nx, ny)) && !c.reached[ny * c.w + nx]) {
                c.reached[ny * c.w + nx] = true;
                todo.push_back(ny * c.w + nx);
            }
        }
    }
}

// Whether the player can stand with its sprite's corner at world pixel
// (px, py): its collision area (columns +4..+19, rows +20..+31) on tiles it
// can walk to.
static bool player_fits(const Checker &c, int px, int py) {
    for (int y = (py + PLAYER_BOX_TOP) >> TILE_SHIFT; y <= (py + PLAYER_BOX_BOTTOM) >> TILE_SHIFT; y++)
        for (int x = (px + PLAYER_BOX_LEFT) >> TILE_SHIFT; x <= (px + PLAYER_BOX_RIGHT) >> TILE_SHIFT; x++)
            if (x < 0 || y < 0 || x >= c.w || y >= c.h || !c.reached[y * c.w + x])
                return false;
    return true;
}

// Whether a probe line of the player standing with its sprite's corner at
// world pixel (px, py) crosses the tile rectangle: the horizontal probes run
// down columns +3 and +20 over rows +20..+31, the vertical ones along rows
// +19 and +32 over columns +4..+18.
static bool probe_line_crosses(int px, int py, int left, int top, int right, int bottom) {
    auto within = [](int v, int lo, int hi) { return v >= lo && v <= hi; };
    const int L = PLAYER_BOX_LEFT, R = PLAYER_BOX_RIGHT, T = PLAYER_BOX_TOP, B = PLAYER_BOX_BOTTOM;
    bool rows = py + B >= top && py + T <= bottom;
    bool cols = px + R - 1 >= left && px + L <= right; // vertical moves probe up to column R - 1
    return (rows && (within(px + L - 1, left, right) || within(px + R + 1, left, right))) ||
           (cols && (within(py + T - 1, top, bottom) || within(py + B + 1, top, bottom)));
}

// Objects are taken only where a probe line crosses their tile: is there a
// place the player can stand from which one does?
static bool probe_reaches(const Checker &c, int tx, int ty) {
    int left = tx * 16, top = ty * 16, right = left + 15, bottom = top + 15;
    for (int py = top - 32; py <= bottom - 19; py++)
        for (int px = left - 20; px <= right - 3; px++)
            if (probe_line_crosses(px, py, left, top, right, bottom) && player_fits(c, px, py))
                return true;
    return false;
}

static void check_object_reach(Checker &c) {
    find_reached(c);
    for (int y = 0; y < c.objects->h; y++)
        for (int x = 0; x < c.objects->w; x++)
            if (layer_code(c.objects, x, y) > 0 && object_can_be_taken(c.terrain, x, y) && !probe_reaches(c, x, y))
                warning(c, "object %d at (%d, %d): no place the player can stand lets a probe reach its tile",
                        layer_code(c.objects, x, y), x, y);
}

static bool cracked(int code) { return terrain_rule(code).blasts_to >= 0; }

// A blast opens the cracked walls among the 3 x 3 tiles round the tile the
// bomb lies on, which is a tile the player stands on: each group of cracked
// tiles should open to one bomb, not leave a stub.
static void check_cracked_groups(Checker &c) {
    std::vector<bool> seen(c.w * c.h, false);
    for (int y = 0; y < c.h; y++)
        for (int x = 0; x < c.w; x++) {
            if (seen[y * c.w + x] || !cracked(layer_code(c.terrain, x, y)))
                continue;
            int x0 = x, y0 = y, x1 = x, y1 = y, count = 0;
            std::vector<int> todo(1, y * c.w + x);
            seen[todo[0]] = true;
            while (!todo.empty()) {
                int at = todo.back(), ax = at % c.w, ay = at / c.w;
                todo.pop_back();
                count++;
                x0 = std::min(x0, ax), x1 = std::max(x1, ax), y0 = std::min(y0, ay), y1 = std::max(y1, ay);
                const int dx[4] = {-1, 1, 0, 0}, dy[4] = {0, 0, -1, 1};
                for (int d = 0; d < 4; d++) {
                    int nx = ax + dx[d], ny = ay + dy[d];
                    if (cracked(layer_code(c.terrain, nx, ny)) && !seen[ny * c.w + nx]) {
                        seen[ny * c.w + nx] = true;
                        todo.push_back(ny * c.w + nx);
                    }
                }
            }
            bool one_bomb = false;
            for (int cy = y1 - 1; cy <= y0 + 1 && !one_bomb; cy++)
                for (int cx = x1 - 1; cx <= x0 + 1 && !one_bomb; cx++)
                    one_bomb = walkable(layer_code(c.terrain, cx, cy));
            if (!one_bomb)
                warning(c, "cracked wall at (%d..%d, %d..%d): no bomb the player can drop opens all %d of its tiles "
                           "(a blast opens the 3 x 3 tiles round the bomb)", x0, x1, y0, y1, count);
        }
}

// The rooms as the reach proof reads them.
static ReachMap reach_map(const Checker &c) {
    ReachMap map;
    map.terrain = c.terrain;
    map.objects = c.objects;
    map.monsters = c.monsters;
    map.w = c.w;
    map.h = c.h;
    map.region = c.region;
    for (const Room &r : c.rooms)
        map.rooms.push_back({r.left, r.top, r.right, r.bottom});
    return map;
}

// A giant fits through no door, so it keeps to the room it starts in and
// chases the player there. The proof leaves monsters out; but when the
// tiles a giant covers at its start are the only way on (with them walled,
// the goal is out of reach), a newcomer must get past it: a warning.
static void check_giants_in_the_way(Checker &c) {
    for (const Marker &m : c.markers) {
        const MonsterKind *kind = monster_kind(m.kind);
        if (!kind || !kind->giant)
            continue;
        BITMAP *walled = create_bitmap_ex(8, c.w, c.h);
        blit(c.terrain, walled, 0, 0, 0, 0, c.w, c.h);
        rectfill(walled, m.x0 >> TILE_SHIFT, m.y0 >> TILE_SHIFT, (m.x1 - 1) >> TILE_SHIFT, (m.y1 - 1) >> TILE_SHIFT,
                 CODE_WALL);
        ReachMap map = reach_map(c);
        map.terrain = walled;
        bool passable = prove_reach(map).finishable;
        destroy_bitmap(walled);
        int room = room_at(c, m.tx, m.ty);
        if (!passable && room >= 0)
            warning(c, "room (%d,%d): the giant at (%d, %d) stands in the only way on; it fits through no door, so the "
                       "player must get past it", c.rooms[room].left, c.rooms[room].top, m.tx, m.ty);
    }
}

// The check measures rooms with the game's own room scan, which works on the
// game's terrain layer and room bounds: those are put back as they were, so
// that an editor asking in the middle of play changes nothing.
struct GameRoomKept {
    BITMAP *terrain = terrain_layer;
    int left = room_left, top = room_top, right = room_right, bottom = room_bottom;
    ~GameRoomKept() {
        terrain_layer = terrain;
        room_left = left;
        room_top = top;
        room_right = right;
        room_bottom = bottom;
    }
};

static Checker checker_of(const World &world) {
    Checker c;
    c.terrain = world.layer[0];
    c.objects = world.layer[1];
    c.monsters = world.layer[2];
    c.w = c.terrain->w;
    c.h = c.terrain->h;
    return c;
}

ReachReport reach_of_world(const World &world) {
    GameRoomKept kept;
    Checker c = checker_of(world);
    find_rooms(c);
    return prove_reach(reach_map(c));
}

WorldReport check_world(const World &world) {
    GameRoomKept kept;
    Checker c = checker_of(world);
    check_sizes(c);
    find_rooms(c);
    for (int y = 0; y < c.monsters->h; y++)
        for (int x = 0; x < c.monsters->w; x++)
            if (layer_code(c.monsters, x, y) > 0)
                c.markers.push_back(marker(x, y, layer_code(c.monsters, x, y)));
    check_start(c);
    check_codes(c, c.terrain, 88, "terrain code (without art)");
    check_codes(c, c.objects, MAX_OBJECT_CODE, "object code");
    check_codes(c, c.monsters, MAX_MONSTER_KIND, "monster kind");
    check_rooms(c);
    check_monsters(c);
    check_objects(c);
    check_exits(c);
    check_arrival_distance(c);
    check_object_reach(c);
    check_cracked_groups(c);
    if (c.lines.empty()) { // the proof stands on a world the game runs
        ReachReport reach = prove_reach(reach_map(c));
        c.lines.insert(c.lines.end(), reach.problems.begin(), reach.problems.end());
        c.warnings.insert(c.warnings.end(), reach.warnings.begin(), reach.warnings.end());
        if (reach.finishable)
            check_giants_in_the_way(c);
    }
    return {c.lines, c.warnings};
}
