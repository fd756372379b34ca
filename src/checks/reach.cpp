// reach.cpp -- the search behind the reach proof: over places and what the player holds
//
// The player's collision box is 16 x 12 pixels. The proof places it in
// blocks: block (x, y) is the tiles (x, y) and (x + 1, y), and the box lies
// in it anywhere 0..16 pixels right of the left tile's edge and 0..4 below
// its top. In 3-pixel steps the player can reach every part of a block and
// step on to a neighbouring block whose tiles it walks, and its probes,
// shots and bombs reach the tiles round the block (see the functions
// below). A passage one tile wide needs the box lined up to the pixel; the
// proof does not count on that. A place is the blocks the player walks
// between in one room; doors, shots at switches and bombs lead from place
// to place. The search keeps, with each place, what the player holds and
// what play has changed: the cloak, bombs, gates toggled, cracked tiles
// blasted. Objects that change nothing the proof needs are left out of it;
// the lamp changes only what is seen (a dark room is walked the same), so it
// is taken on the way and named in the plan. Monsters hurt but do not wall,
// and bombs are dropped only where they open a cracked tile.
#include "reach_search.h"
#include "map.h"
#include "player.h"
#include <algorithm>
#include <set>

static const int OBJECT_LAMP = 5, OBJECT_CLOAK = 11, OBJECT_BAG = 12, BOMBS_PER_BAG = 5;
static const int MAX_STATES = 50000; // the search gives up beyond this many
// In a room wider (or taller) than the view, how far a shot is sure to fly
// before it leaves the play field: the camera keeps the player some five
// tiles from the field's edges.
static const int SURE_SHOT_TILES = 4;

static const int DIRS[4] = {DIR_LEFT, DIR_RIGHT, DIR_UP, DIR_DOWN};
static const int DX[4] = {-1, 1, 0, 0}, DY[4] = {0, 0, -1, 1};

// --- The rules under what is held ----------------------------------------------

static int tile_index(const Search &s, int x, int y) { return y * s.map->w + x; }
static bool inside(const Search &s, int x, int y) { return x >= 0 && y >= 0 && x < s.map->w && y < s.map->h; }

static int code_at(const Search &s, const Holding &h, int x, int y) {
    int code = layer_code(s.map->terrain, x, y);
    if (!inside(s, x, y) || code < 0)
        return -1;
    int t = tile_index(s, x, y);
    if (s.cracked_id[t] >= 0 && h.blasted[s.cracked_id[t]])
        return terrain_rule(code).blasts_to;
    if (s.gate_room[t] >= 0 && h.toggled[s.gate_room[t]])
        return terrain_rule(code).toggles_to;
    return code;
}

// A tile the player's box may lie on.
static bool stands(const Search &s, const Holding &h, int x, int y) {
    const TerrainRule &r = terrain_rule(code_at(s, h, x, y));
    if (!r.blocks_player)
        return !r.exit;
    if (r.ghost_passes)
        return h.cloak || s.loosen.cloak;
    return (s.loosen.gates && r.toggles_to >= 0) || (s.loosen.cracked && r.blasts_to >= 0);
}

static bool fits(const Search &s, const Holding &h, int x, int y) {
    return stands(s, h, x, y) && stands(s, h, x + 1, y);
}

static bool is_exit(const Search &s, const Holding &h, int x, int y) { return terrain_rule(code_at(s, h, x, y)).exit; }

// An object on this tile is taken when a probe point reaches it.
static bool takes_here(const Search &s, const Holding &h, int x, int y) {
    const TerrainRule &r = terrain_rule(code_at(s, h, x, y));
    return r.takes_objects || (s.loosen.gates && r.toggles_to >= 0 && terrain_rule(r.toggles_to).takes_objects) ||
           (s.loosen.cracked && r.blasts_to >= 0);
}

// --- Places ----------------------------------------------------------------------

// The blocks the player walks to from `seeds`, into `out`.
static void flood(Search &s, const Holding &h, const std::vector<int> &seeds, std::vector<int> &out) {
    int w = s.map->w;
    s.stamp++;
    out.clear();
    for (int b : seeds)
        if (s.mark[b] != s.stamp && fits(s, h, b % w, b / w)) {
            s.mark[b] = s.stamp;
            out.push_back(b);
        }
    for (size_t i = 0; i < out.size(); i++) {
        int x = out[i] % w, y = out[i] / w;
        for (int d = 0; d < 4; d++) {
            int nx = x + DX[d], ny = y + DY[d], n = ny * w + nx;
            if (nx >= 0 && ny >= 0 && nx < w - 1 && ny < s.map->h && s.mark[n] != s.stamp && fits(s, h, nx, ny)) {
                s.mark[n] = s.stamp;
                out.push_back(n);
            }
        }
    }
}

// The tiles the probes reach from a block: ahead of each way it moves, and
// its own two, which the probes crossed on the way in.
static int probe_tiles(int x, int y, int tiles[8][2]) {
    const int at[8][2] = {{x - 1, y}, {x + 2, y}, {x, y - 1}, {x + 1, y - 1},
                          {x, y + 1}, {x + 1, y + 1}, {x, y}, {x + 1, y}};
    for (int i = 0; i < 8; i++) {
        tiles[i][0] = at[i][0];
        tiles[i][1] = at[i][1];
    }
    return 8;
}

// A move from block (x, y) through an exit going `dir`: the door and where
// it lands. Leaving left or right the probes' column lies in row y; up or
// down the first probe point lies in tile x (or the box reaches into x + 1
// over a tile it walks). The landing is the exit table's: the first tile of
// the box on the axis of travel (going down, two 3-pixel steps up settle it
// in that row).
static bool door_from(Search &s, const Holding &h, int x, int y, int dir, Step &step, int &land) {
    int ex = x, ey = y;
    if (dir == DIR_LEFT || dir == DIR_RIGHT) {
        ex = dir == DIR_LEFT ? x - 1 : x + 2;
        if (!is_exit(s, h, ex, ey))
            return false;
    } else {
        ey = dir == DIR_UP ? y - 1 : y + 1;
        bool first = is_exit(s, h, x, ey), second = stands(s, h, x, ey) && is_exit(s, h, x + 1, ey);
        if (!first && !second)
            return false;
        ex = first ? x : x + 1;
    }
    terrain_layer = s.map->terrain;
    find_room_bounds(dir == DIR_RIGHT ? x + 1 : dir == DIR_LEFT ? x : ex, y);
    int lx = x, ly = y, unused;
    if (direction_rule(dir).horizontal) {
        exit_landing_tiles(dir, room_left, room_right, &lx, &unused);
        while (is_exit(s, h, ex, ey - 1))
            ey--;
    } else {
        exit_landing_tiles(dir, room_top, room_bottom, &ly, &unused);
        while (is_exit(s, h, ex - 1, ey))
            ex--;
    }
    if (lx < 0 || ly < 0 || lx >= s.map->w - 1 || ly >= s.map->h)
        return false;
    step = Step{STEP_DOOR, ex, ey, dir, dir == DIR_UP || dir == DIR_DOWN ? ex : lx, dir == DIR_UP || dir == DIR_DOWN ? ly : ey};
    land = ly * s.map->w + lx;
    return true;
}

// The switch a shot from block (x, y) flying `dir` stops on: a shot flies
// along row y (left, right) or down column x or x + 1 (up, down; a shot
// fired down starts above the box and first meets the tile above the
// block). It counts only in the block's room, and in a room longer than the
// view only within SURE_SHOT_TILES.
static bool shot_switch(const Search &s, const Holding &h, int x, int y, int dir, int column, int &sx, int &sy) {
    const ReachRoom &room = s.map->rooms[s.map->region[tile_index(s, x, y)]];
    bool across = dir == DIR_LEFT || dir == DIR_RIGHT;
    int span = across ? room.right - room.left : room.bottom - room.top;
    int reach = span <= VIEW_TILES - 1 ? span : SURE_SHOT_TILES;
    int tx = across ? (dir == DIR_LEFT ? x - 1 : x + 2) : x + column, ty = across ? y : y - 1;
    int dx = across ? (dir == DIR_LEFT ? -1 : 1) : 0, dy = across ? 0 : (dir == DIR_UP ? -1 : 1);
    for (int n = 0; n <= reach; n++, tx += dx, ty += dy) {
        if (dir == DIR_DOWN && n == 1)
            ty += 1; // past the block's own row
        int code = code_at(s, h, tx, ty);
        if (!terrain_rule(code).stops_shots)
            continue;
        sx = tx;
        sy = ty;
        return terrain_rule(code).is_switch && inside(s, tx, ty) &&
               s.map->region[tile_index(s, tx, ty)] == s.map->region[tile_index(s, x, y)];
    }
    return false;
}

// The cracked tiles round a bomb lying on tile (cx, cy) that its blast opens: the 3 x 3 round it.
static std::vector<int> blast(const Search &s, const Holding &h, int cx, int cy) {
    std::vector<int> opened;
    for (int y = cy - 1; y <= cy + 1; y++)
        for (int x = cx - 1; x <= cx + 1; x++) {
            int c = inside(s, x, y) ? s.cracked_id[tile_index(s, x, y)] : -1;
            if (c >= 0 && !h.blasted[c])
                opened.push_back(c);
        }
    return opened;
}

// What a room as it stands is: the cloak, its cracked tiles blasted and its gates toggled.
static int place_kind(Search &s, const Holding &h, int room) {
    std::string k(reinterpret_cast<const char *>(&room), sizeof room);
    k += (char)(h.cloak || s.loosen.cloak);
    for (int c : s.room_cracked[room])
        k += h.blasted[c];
    k += s.room_gates[room] >= 0 ? h.toggled[s.room_gates[room]] : 0;
    return s.place_kinds.insert({k, (int)s.place_kinds.size()}).first->second;
}

// Everything a place offers, found once: objects in reach, doors, shots at
// switches, spots where a bomb blasts a cracked tile.
static void survey(Search &s, const Holding &h, Place &p, const std::vector<int> &blocks) {
    int w = s.map->w;
    std::set<int> objects, lands;
    for (int b : blocks) {
        int x = b % w, y = b / w;
        s.tile_reached[b] = s.tile_reached[b + 1] = 1;
        int tiles[8][2], n = probe_tiles(x, y, tiles);
        for (int i = 0; i < n; i++)
            if (inside(s, tiles[i][0], tiles[i][1]) && layer_code(s.map->objects, tiles[i][0], tiles[i][1]) > 0 &&
                takes_here(s, h, tiles[i][0], tiles[i][1]))
                objects.insert(tile_index(s, tiles[i][0], tiles[i][1]));
        for (int dir : DIRS) {
            Step step;
            int land;
            if (door_from(s, h, x, y, dir, step, land) && lands.insert(land).second)
                p.doors.push_back({step, land});
        }
        bool in_wall = terrain_rule(code_at(s, h, x, y)).stops_shots || terrain_rule(code_at(s, h, x + 1, y)).stops_shots;
        for (int dir : DIRS)
            for (int column = 0; column < 2 && !in_wall && s.room_gates[p.room] >= 0; column++) {
                int sx, sy;
                if ((!column || dir == DIR_UP || dir == DIR_DOWN) && shot_switch(s, h, x, y, dir, column, sx, sy))
                    p.shots.push_back(Step{STEP_SWITCH, sx, sy, dir, x, y});
            }
        for (int side = 0; side < 2 && !s.room_cracked[p.room].empty(); side++)
            if (!blast(s, h, x + side, y).empty())
                p.bomb_spots.push_back(b * 2 + side);
    }
    p.objects.assign(objects.begin(), objects.end());
}

int place_of(Search &s, const Holding &h, int seed) {
    if (seed < 0 || seed >= s.map->w * s.map->h || s.map->region[seed] < 0)
        return -1;
    int kind = place_kind(s, h, s.map->region[seed]);
    for (int link = s.place_head[seed]; link >= 0; link = s.place_links[link].second)
        if (s.places[s.place_links[link].first].kind == kind)
            return s.place_links[link].first;
    std::vector<int> blocks;
    flood(s, h, {seed}, blocks);
    if (blocks.empty())
        return -1;
    Place p;
    p.first = *std::min_element(blocks.begin(), blocks.end());
    p.room = s.map->region[seed];
    p.kind = kind;
    survey(s, h, p, blocks);
    s.room_entered[p.room] = 1;
    int id = (int)s.places.size();
    s.places.push_back(std::move(p));
    for (int b : blocks) {
        s.place_links.push_back({id, s.place_head[b]});
        s.place_head[b] = (int)s.place_links.size() - 1;
    }
    return id;
}

// --- States --------------------------------------------------------------------------

// Takes a key object: what it changes. True when the place may grow.
static bool take_key(Search &s, State &st, int k) {
    int t = s.key_tiles[k], o = layer_code(s.map->objects, t % s.map->w, t / s.map->w);
    if (o == OBJECT_GOAL) { // in reach; the player may still walk on past it
        if (!st.goal)
            st.took.push_back(k);
        st.goal = true;
        return false;
    }
    st.took.push_back(k);
    st.hold.taken[k] = 1;
    if (o == OBJECT_BAG) {
        st.hold.bombs += BOMBS_PER_BAG;
        st.hold.gathered += BOMBS_PER_BAG;
    }
    if (o == OBJECT_CLOAK && !st.hold.cloak) {
        st.hold.cloak = true;
        return true;
    }
    return false;
}

// Finds the place of `seed` and takes what its probes reach, again while
// the cloak widens it. False when the player's box does not fit there.
static bool settle(Search &s, State &st, int seed) {
    for (;;) {
        st.place = place_of(s, st.hold, seed);
        if (st.place < 0)
            return false;
        bool wider = false;
        for (int t : s.places[st.place].objects) {
            s.object_reached[t] = 1;
            if (s.key_id[t] >= 0 && !st.hold.taken[s.key_id[t]])
                wider |= take_key(s, st, s.key_id[t]);
        }
        if (!wider)
            return true;
        seed = s.places[st.place].first;
    }
}

static std::string state_key(const State &st) {
    std::string k(reinterpret_cast<const char *>(&st.place), sizeof st.place);
    k += (char)st.hold.cloak;
    k.append(reinterpret_cast<const char *>(&st.hold.bombs), sizeof st.hold.bombs);
    k.append(st.hold.taken.begin(), st.hold.taken.end());
    k.append(st.hold.blasted.begin(), st.hold.blasted.end());
    k.append(st.hold.toggled.begin(), st.hold.toggled.end());
    return k;
}

// Settles a state reached from `parent` by `step` at block `seed`, and keeps
// it unless the search has been there.
static void add_state(Search &s, State st, int seed, int parent, const Step &step) {
    st.parent = parent;
    st.step = step;
    st.took.clear();
    st.goal = false;
    if (!settle(s, st, seed))
        return;
    auto [it, fresh] = s.seen.insert({state_key(st), (int)s.states.size()});
    if (parent >= 0)
        s.edges.push_back({parent, it->second, step});
    if (!fresh)
        return;
    if (st.goal && s.goal_state < 0)
        s.goal_state = it->second;
    s.states.push_back(st);
}

// --- Steps out of a place ----------------------------------------------------------

static void door_steps(Search &s, int i) {
    std::set<int> places;
    const Place p = s.places[s.states[i].place];
    for (const auto &[step, land] : p.doors) {
        int to = place_of(s, s.states[i].hold, land);
        if (to >= 0 && places.insert(to).second)
            add_state(s, s.states[i], land, i, step);
    }
}

static void switch_steps(Search &s, int i) {
    const Place p = s.places[s.states[i].place];
    if (p.shots.empty())
        return;
    s.room_toggled[p.room] = 1;
    Holding h = s.states[i].hold;
    h.toggled[s.room_gates[p.room]] ^= 1;
    std::set<int> places;
    for (const Step &shot : p.shots) {
        int seed = shot.ay * s.map->w + shot.ax, to = place_of(s, h, seed);
        if (to < 0 || !places.insert(to).second)
            continue;
        State next = s.states[i];
        next.hold = h;
        add_state(s, next, seed, i, shot);
    }
}

static void bomb_steps(Search &s, int i) {
    const State st = s.states[i];
    const Place p = s.places[st.place];
    std::set<std::vector<int>> tried;
    std::vector<int> everything;
    int at = -1;
    for (int spot : p.bomb_spots) {
        int b = spot / 2, cx = b % s.map->w + spot % 2, cy = b / s.map->w;
        std::vector<int> opened = blast(s, st.hold, cx, cy);
        if (opened.empty() || !tried.insert(opened).second)
            continue;
        if (s.loosen.bombs) { // all at once: with bombs to spare the order does not matter
            everything.insert(everything.end(), opened.begin(), opened.end());
            at = b;
            continue;
        }
        if (st.hold.bombs <= 0) {
            for (int c : opened)
                s.short_of_bombs[c] = std::max(s.short_of_bombs[c], st.hold.gathered);
            continue;
        }
        State next = st;
        next.hold.bombs--;
        for (int c : opened)
            next.hold.blasted[c] = s.ever_blasted[c] = 1;
        add_state(s, next, b, i, Step{STEP_BOMB, cx, cy, DIR_NONE, b % s.map->w, cy});
    }
    if (at >= 0) {
        State next = st;
        for (int c : everything)
            next.hold.blasted[c] = s.ever_blasted[c] = 1;
        add_state(s, next, at, i, Step{STEP_BOMB, at % s.map->w, at / s.map->w, DIR_NONE, at % s.map->w, at / s.map->w});
    }
}

// --- The search ------------------------------------------------------------------------

// The cracked tiles, the gates of each room and the key objects, numbered.
void prepare_search(Search &s, const ReachMap &map, const Loosen &loosen) {
    s.map = &map;
    s.loosen = loosen;
    int n = map.w * map.h;
    s.cracked_id.assign(n, -1);
    s.gate_room.assign(n, -1);
    s.key_id.assign(n, -1);
    s.room_gates.assign(map.rooms.size(), -1);
    int gated = 0;
    for (int t = 0; t < n; t++) {
        int x = t % map.w, y = t / map.w, code = layer_code(map.terrain, x, y), o = layer_code(map.objects, x, y);
        const TerrainRule &r = terrain_rule(code);
        if (r.blasts_to >= 0) {
            s.cracked_id[t] = (int)s.cracked_tiles.size();
            s.cracked_tiles.push_back(t);
        }
        if (r.toggles_to >= 0 && map.region[t] >= 0) {
            int &g = s.room_gates[map.region[t]];
            if (g < 0)
                g = gated++;
            s.gate_room[t] = g;
        }
        if (o == OBJECT_GOAL || o == OBJECT_BAG || o == OBJECT_CLOAK || o == OBJECT_LAMP) {
            s.key_id[t] = (int)s.key_tiles.size();
            s.key_tiles.push_back(t);
        }
    }
    s.mark.assign(n, 0);
    s.place_head.assign(n, -1);
    s.room_cracked.assign(map.rooms.size(), {});
    for (size_t c = 0; c < s.cracked_tiles.size(); c++)
        if (map.region[s.cracked_tiles[c]] >= 0)
            s.room_cracked[map.region[s.cracked_tiles[c]]].push_back((int)c);
    s.object_reached.assign(n, 0);
    s.tile_reached.assign(n, 0);
    s.room_entered.assign(map.rooms.size(), 0);
    s.room_toggled.assign(map.rooms.size(), 0);
    s.ever_blasted.assign(s.cracked_tiles.size(), 0);
    s.short_of_bombs.assign(s.cracked_tiles.size(), -1);
}

// The block the player starts in: the start view and position of the game.
static int start_block(const ReachMap &map) {
    int px = START_VIEW_TX * TILE_SIZE + PLAYER_START_X + PLAYER_BOX_LEFT;
    int py = START_VIEW_TY * TILE_SIZE + PLAYER_START_Y + PLAYER_BOX_TOP;
    return (py >> TILE_SHIFT) * map.w + (px >> TILE_SHIFT);
}

// Nothing held and nothing changed, sized for the search's tables.
Holding bare_holding(const Search &s) {
    Holding h;
    h.taken.assign(s.key_tiles.size(), 0);
    h.blasted.assign(s.cracked_tiles.size(), 0);
    h.toggled.assign(std::count_if(s.room_gates.begin(), s.room_gates.end(), [](int g) { return g >= 0; }), 0);
    return h;
}

void run_search(Search &s, const ReachMap &map, const Loosen &loosen) {
    prepare_search(s, map, loosen);
    State start;
    start.hold = bare_holding(s);
    add_state(s, start, start_block(map), -1, Step{});
    for (size_t i = 0; i < s.states.size(); i++) {
        if (s.states.size() > (size_t)MAX_STATES) {
            s.gave_up = true;
            break;
        }
        door_steps(s, (int)i);
        switch_steps(s, (int)i);
        bomb_steps(s, (int)i);
    }
}
