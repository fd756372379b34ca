// reach.cpp -- the proof that a world can be finished: a search over places and what the player holds
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
#include "reach.h"
#include "layers.h"
#include "player.h"
#include "view.h"
#include <algorithm>
#include <cstdio>
#include <set>
#include <unordered_map>

static const int OBJECT_LAMP = 5, OBJECT_CLOAK = 11, OBJECT_BAG = 12, BOMBS_PER_BAG = 5;
static const int MAX_STATES = 50000; // the search gives up beyond this many
// In a room wider (or taller) than the view, how far a shot is sure to fly
// before it leaves the play field: the camera keeps the player some five
// tiles from the field's edges.
static const int SURE_SHOT_TILES = 4;

static const int DIRS[4] = {DIR_LEFT, DIR_RIGHT, DIR_UP, DIR_DOWN};
static const int DX[4] = {-1, 1, 0, 0}, DY[4] = {0, 0, -1, 1};

// Loosened rules, to tell what a place out of reach is missing.
struct Loosen {
    bool cloak = false;   // the cloak held from the start
    bool bombs = false;   // bombs never run out
    bool gates = false;   // every gate walked through, open or shut
    bool cracked = false; // every cracked tile walked through
};

// What the player holds and what play has changed so far.
struct Holding {
    bool cloak = false;
    int bombs = 0, gathered = 0; // bombs held; bombs taken so far
    std::vector<char> taken;     // per key object
    std::vector<char> blasted;   // per cracked tile
    std::vector<char> toggled;   // per room with gates: toggled an odd number of times
};

enum StepKind { STEP_START, STEP_DOOR, STEP_SWITCH, STEP_BOMB };

// How the search came from one state to another.
struct Step {
    int kind = STEP_START;
    int x = 0, y = 0;   // door: its first exit tile; switch: the switch; bomb: the blast's centre
    int dir = DIR_NONE; // door: the way through; switch: the way the shot flies
    int ax = 0, ay = 0; // door: where it lands; switch and bomb: the player's block
};

// A place and what is held there.
struct State {
    Holding hold;
    int seed = -1, room = -1; // a block of the place; its room
    int parent = -1;
    Step step;
    std::vector<int> took; // key objects taken on coming here
    bool goal = false;
};

struct Edge {
    int from, to;
    Step step;
};

struct Search {
    const ReachMap *map = nullptr;
    Loosen loosen;
    std::vector<int> cracked_id, gate_room, key_id; // per tile, -1 none
    std::vector<int> cracked_tiles, key_tiles;
    std::vector<int> room_gates;                    // per room: its index among rooms with gates, -1 none
    std::vector<State> states;
    std::vector<Edge> edges;
    std::unordered_map<std::string, int> seen;
    std::vector<int> mark, landed; // flood stamps per block
    int stamp = 0, land_stamp = 0;
    std::vector<char> object_reached, room_entered, room_toggled, tile_reached, ever_blasted;
    std::vector<int> short_of_bombs; // per cracked tile: most bombs gathered while in reach with none held, -1
    int goal_state = -1;
    bool gave_up = false;
};

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

// Floods the place of `seed`, takes what its probes reach, again while the
// cloak widens it. Returns the place's blocks (empty: the seed does not fit).
static std::vector<int> settle(Search &s, State &st) {
    std::vector<int> blocks, seeds(1, st.seed);
    for (;;) {
        flood(s, st.hold, seeds, blocks);
        bool wider = false;
        for (int b : blocks) {
            int tiles[8][2], n = probe_tiles(b % s.map->w, b / s.map->w, tiles);
            for (int i = 0; i < n; i++) {
                int x = tiles[i][0], y = tiles[i][1];
                if (!inside(s, x, y) || layer_code(s.map->objects, x, y) <= 0 || !takes_here(s, st.hold, x, y))
                    continue;
                int t = tile_index(s, x, y);
                s.object_reached[t] = 1;
                if (s.key_id[t] >= 0 && !st.hold.taken[s.key_id[t]])
                    wider |= take_key(s, st, s.key_id[t]);
            }
        }
        if (!wider)
            break;
        seeds = blocks;
    }
    if (!blocks.empty()) {
        st.seed = *std::min_element(blocks.begin(), blocks.end());
        st.room = s.map->region[blocks[0]];
    }
    return blocks;
}

static std::string state_key(const State &st) {
    std::string k(reinterpret_cast<const char *>(&st.seed), sizeof st.seed);
    k += (char)st.hold.cloak;
    k.append(reinterpret_cast<const char *>(&st.hold.bombs), sizeof st.hold.bombs);
    k.append(st.hold.taken.begin(), st.hold.taken.end());
    k.append(st.hold.blasted.begin(), st.hold.blasted.end());
    k.append(st.hold.toggled.begin(), st.hold.toggled.end());
    return k;
}

// Settles a state reached from `parent` by `step`, and keeps it unless the
// search has been there. Returns its blocks (empty when not new or no place).
static std::vector<int> add_state(Search &s, State st, int parent, const Step &step) {
    st.parent = parent;
    st.step = step;
    st.took.clear();
    st.goal = false;
    std::vector<int> blocks = settle(s, st);
    if (blocks.empty())
        return blocks;
    for (int b : blocks) {
        s.tile_reached[b] = s.tile_reached[b + 1] = 1;
        s.room_entered[s.map->region[b]] = 1;
    }
    auto [it, fresh] = s.seen.insert({state_key(st), (int)s.states.size()});
    if (parent >= 0)
        s.edges.push_back({parent, it->second, step});
    if (!fresh)
        return {};
    if (st.goal && s.goal_state < 0)
        s.goal_state = it->second;
    s.states.push_back(st);
    return blocks;
}

// Marks the blocks of a place reached in this expansion: another step
// landing in one of them gives the same state.
static void mark_landed(Search &s, const std::vector<int> &blocks) {
    for (int b : blocks)
        s.landed[b] = s.land_stamp;
}

// --- Steps out of a place ----------------------------------------------------------

// A move from block (x, y) through an exit going `dir`: the door and where
// it lands. Leaving left or right the probes' column lies in row y; up or
// down the first probe point lies in tile x (or the box reaches into x + 1
// over a tile it walks). The landings follow the exit table: going left the
// box's left edge comes to room_left - 3 (12 pixels in), right to
// room_right + 2 (8 in), up to row room_top - 2 (2 down), down to row
// room_bottom + 2 (8 down, and two 3-pixel steps up settle it in that row).
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
    int lx = x, ly = y;
    if (dir == DIR_LEFT || dir == DIR_RIGHT) {
        lx = dir == DIR_LEFT ? room_left - 3 : room_right + 2;
        while (is_exit(s, h, ex, ey - 1))
            ey--;
    } else {
        ly = dir == DIR_UP ? room_top - 2 : room_bottom + 2;
        while (is_exit(s, h, ex - 1, ey))
            ex--;
    }
    if (lx < 0 || ly < 0 || lx >= s.map->w - 1 || ly >= s.map->h)
        return false;
    step = Step{STEP_DOOR, ex, ey, dir, dir == DIR_UP || dir == DIR_DOWN ? ex : lx, dir == DIR_UP || dir == DIR_DOWN ? ly : ey};
    land = ly * s.map->w + lx;
    return true;
}

static void door_steps(Search &s, int i, const std::vector<int> &blocks) {
    for (int b : blocks)
        for (int dir : DIRS) {
            Step step;
            int land;
            if (!door_from(s, s.states[i].hold, b % s.map->w, b / s.map->w, dir, step, land))
                continue;
            if (s.landed[land] == s.land_stamp)
                continue;
            State next = s.states[i];
            next.seed = land;
            mark_landed(s, add_state(s, next, i, step));
        }
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

static void switch_steps(Search &s, int i, const std::vector<int> &blocks) {
    int gates = s.room_gates[s.states[i].room];
    if (gates < 0)
        return;
    const Holding h = s.states[i].hold;
    s.land_stamp++; // places after a toggle differ from those before it
    for (int b : blocks) {
        int x = b % s.map->w, y = b / s.map->w;
        if (terrain_rule(code_at(s, h, x, y)).stops_shots || terrain_rule(code_at(s, h, x + 1, y)).stops_shots)
            continue; // standing in a ghost wall: the shot stops at once
        for (int dir : DIRS)
            for (int column = 0; column < 2; column++) {
                int sx, sy;
                if ((column && (dir == DIR_LEFT || dir == DIR_RIGHT)) || !shot_switch(s, h, x, y, dir, column, sx, sy))
                    continue;
                s.room_toggled[s.states[i].room] = 1;
                if (s.landed[b] == s.land_stamp)
                    continue;
                State next = s.states[i];
                next.hold.toggled[gates] ^= 1;
                next.seed = b;
                mark_landed(s, add_state(s, next, i, Step{STEP_SWITCH, sx, sy, dir, x, y}));
            }
    }
}

// A bomb lies under the box's centre: tile x or x + 1 of row y. Its blast
// opens the cracked tiles of the 3 x 3 round it.
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

static void bomb_steps(Search &s, int i, const std::vector<int> &blocks) {
    const State st = s.states[i];
    std::set<std::vector<int>> tried;
    std::vector<int> everything;
    int at = -1;
    for (int b : blocks)
        for (int side = 0; side < 2; side++) {
            int cx = b % s.map->w + side, cy = b / s.map->w;
            std::vector<int> opened = blast(s, st.hold, cx, cy);
            if (opened.empty() || !tried.insert(opened).second)
                continue;
            if (st.hold.bombs <= 0 && !s.loosen.bombs) {
                for (int c : opened)
                    s.short_of_bombs[c] = std::max(s.short_of_bombs[c], st.hold.gathered);
                continue;
            }
            if (s.loosen.bombs) { // all at once: with bombs to spare the order does not matter
                everything.insert(everything.end(), opened.begin(), opened.end());
                at = b;
                continue;
            }
            State next = st;
            next.hold.bombs--;
            for (int c : opened)
                next.hold.blasted[c] = s.ever_blasted[c] = 1;
            next.seed = b;
            add_state(s, next, i, Step{STEP_BOMB, cx, cy, DIR_NONE, b % s.map->w, cy});
        }
    if (at >= 0) {
        State next = st;
        for (int c : everything)
            next.hold.blasted[c] = s.ever_blasted[c] = 1;
        next.seed = at;
        add_state(s, next, i, Step{STEP_BOMB, at % s.map->w, at / s.map->w, DIR_NONE, at % s.map->w, at / s.map->w});
    }
}

// --- The search ------------------------------------------------------------------------

// The cracked tiles, the gates of each room and the key objects, numbered.
static void prepare(Search &s, const ReachMap &map, const Loosen &loosen) {
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
    s.landed.assign(n, 0);
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
static Holding bare_holding(const Search &s) {
    Holding h;
    h.taken.assign(s.key_tiles.size(), 0);
    h.blasted.assign(s.cracked_tiles.size(), 0);
    h.toggled.assign(std::count_if(s.room_gates.begin(), s.room_gates.end(), [](int g) { return g >= 0; }), 0);
    return h;
}

static void run_search(Search &s, const ReachMap &map, const Loosen &loosen) {
    prepare(s, map, loosen);
    State start;
    start.hold = bare_holding(s);
    start.seed = start_block(map);
    if (start.seed < 0 || start.seed >= map.w * map.h || map.region[start.seed] < 0)
        return;
    add_state(s, start, -1, Step{});
    for (size_t i = 0; i < s.states.size(); i++) {
        if (s.states.size() > (size_t)MAX_STATES) {
            s.gave_up = true;
            break;
        }
        State here = s.states[i];
        std::vector<int> blocks = settle(s, here);
        s.land_stamp++;
        mark_landed(s, blocks);
        door_steps(s, (int)i, blocks);
        switch_steps(s, (int)i, blocks);
        bomb_steps(s, (int)i, blocks);
    }
}

// --- Telling what is wrong ------------------------------------------------------------

static std::string room_name(const ReachMap &map, int room) {
    char text[48];
    snprintf(text, sizeof text, "room (%d,%d)", map.rooms[room].left, map.rooms[room].top);
    return text;
}

static std::string tile_room(const ReachMap &map, int x, int y) {
    int r = map.region[y * map.w + x];
    return r >= 0 ? room_name(map, r) : std::string("no room");
}

static std::string door_name(const Step &step) {
    char text[64];
    snprintf(text, sizeof text, "door (%d,%d) → (%d,%d)", step.x, step.y, step.ax, step.ay);
    return text;
}

// The loosened searches, run when first asked for.
struct Loosened {
    const ReachMap *map = nullptr;
    Search cloak, bombs, gates, all, open;
    bool ran[5] = {};
    Search &get(int which) {
        Search *s[5] = {&cloak, &bombs, &gates, &all, &open};
        if (!ran[which]) {
            Loosen l;
            l.cloak = which == 0 || which >= 3;
            l.bombs = which == 1 || which >= 3;
            l.gates = which == 2 || which >= 3;
            l.cracked = which == 4;
            run_search(*s[which], *map, l);
            ran[which] = true;
        }
        return *s[which];
    }
};

// Why `reached(search)` holds only with the rules loosened; `what` names the
// target ("the goal", "it"). Empty when even loosened it is out of reach.
template <class Reached>
static std::string missing(const Search &real, Loosened &loose, Reached reached, const char *what) {
    const ReachMap &map = *real.map;
    if (reached(loose.get(0))) {
        for (int t = 0; t < map.w * map.h; t++)
            if (layer_code(map.objects, t % map.w, t / map.w) == OBJECT_CLOAK) {
                char text[128];
                snprintf(text, sizeof text, "%s needs the cloak, which lies %s at (%d, %d)", what,
                         loose.get(0).object_reached[t] ? (std::string("past ") + what).c_str() : "out of reach",
                         t % map.w, t / map.w);
                return text;
            }
        return std::string(what) + " needs the cloak, and the world holds none";
    }
    if (reached(loose.get(1))) {
        int most = 0;
        for (const State &st : real.states)
            most = std::max(most, st.hold.gathered);
        char text[128];
        snprintf(text, sizeof text, "%s needs more bombs than the world gives before it (%d)", what, most);
        return text;
    }
    if (reached(loose.get(2)))
        return std::string(what) + " lies behind a gate that no switch the player can reach toggles";
    if (reached(loose.get(3)))
        return std::string(what) + " needs more than one of: the cloak, more bombs, a gate opened";
    return "";
}

// Exits of the place round `seed` with everything open: the rooms they lead to.
static std::set<int> rooms_led_to(Search &open, int seed) {
    std::vector<int> blocks;
    Holding h = bare_holding(open);
    flood(open, h, {seed}, blocks);
    std::set<int> rooms;
    for (int b : blocks)
        for (int dir : DIRS) {
            Step step;
            int land;
            if (door_from(open, h, b % open.map->w, b / open.map->w, dir, step, land) &&
                open.map->region[land] >= 0 && land != seed)
                rooms.insert(open.map->region[land]);
        }
    return rooms;
}

// Doors: dead ends (errors), one-way doors (warnings), and doors, switches
// and bombs past which the goal can no longer be reached.
static void check_steps(Search &s, Loosened &loose, ReachReport &report) {
    const ReachMap &map = *s.map;
    std::vector<char> good(s.states.size(), 0);
    std::vector<std::vector<int>> into(s.states.size());
    for (const Edge &e : s.edges)
        into[e.to].push_back(e.from);
    std::vector<int> todo;
    for (size_t i = 0; i < s.states.size(); i++)
        if (s.states[i].goal) {
            good[i] = 1;
            todo.push_back((int)i);
        }
    while (!todo.empty()) {
        int i = todo.back();
        todo.pop_back();
        for (int from : into[i])
            if (!good[from]) {
                good[from] = 1;
                todo.push_back(from);
            }
    }
    std::set<std::string> said;
    auto say = [&](std::vector<std::string> &to, const std::string &line) {
        if (said.insert(line).second)
            to.push_back(line);
    };
    Search &open = loose.get(4);
    for (const Edge &e : s.edges) {
        const State &from = s.states[e.from], &to = s.states[e.to];
        std::string where = room_name(map, from.room);
        bool lost = good[e.from] && !good[e.to] && !s.gave_up;
        if (e.step.kind == STEP_DOOR) {
            std::set<int> on = rooms_led_to(open, to.seed);
            std::string door = door_name(e.step);
            if (on.empty() && !to.goal)
                say(report.problems, room_name(map, to.room) + " is a dead end: " + door + " leads in and no way leads out");
            else if (lost)
                say(report.problems, where + ", " + door + ": past it the goal can no longer be reached");
            if (!on.count(from.room))
                say(report.warnings, "warning: " + where + ", " + door + ": no way back");
        } else if (lost && e.step.kind == STEP_SWITCH) {
            char text[160];
            snprintf(text, sizeof text, "warning: %s, switch (%d, %d) shot from (%d, %d): the gates it toggles shut the way to the goal",
                     where.c_str(), e.step.x, e.step.y, e.step.ax, e.step.ay);
            say(report.warnings, text);
        } else if (lost && e.step.kind == STEP_BOMB) {
            char text[160];
            snprintf(text, sizeof text, "warning: %s, bomb at (%d, %d): it leaves too few bombs to reach the goal",
                     where.c_str(), e.step.x, e.step.y);
            say(report.warnings, text);
        }
    }
}

// The goal, objects never taken, gates never toggled, cracked walls short of
// bombs, rooms never entered.
static void check_targets(Search &s, Loosened &loose, ReachReport &report) {
    const ReachMap &map = *s.map;
    char text[256];
    for (int t = 0; t < map.w * map.h; t++) {
        int x = t % map.w, y = t / map.w, o = layer_code(map.objects, x, y);
        if (o <= 0 || s.object_reached[t] || map.region[t] < 0 || !object_can_be_taken(map.terrain, x, y))
            continue;
        auto reached = [t](const Search &l) { return l.object_reached[t] != 0; };
        if (o == OBJECT_GOAL) {
            std::string why = missing(s, loose, reached, "the goal");
            snprintf(text, sizeof text, "the goal at (%d, %d) in %s cannot be reached: %s", x, y,
                     tile_room(map, x, y).c_str(), why.empty() ? "no way leads to it" : why.c_str());
            report.problems.push_back(text);
        } else if (s.room_entered[map.region[t]] && loose.get(4).object_reached[t]) {
            // Out of reach even with every wall open: the check's probe test names it.
            std::string why = missing(s, loose, reached, "it");
            snprintf(text, sizeof text, "warning: object %d at (%d, %d) in %s can never be taken: %s", o, x, y,
                     tile_room(map, x, y).c_str(), why.empty() ? "no way leads to it" : why.c_str());
            report.warnings.push_back(text);
        }
    }
    std::vector<char> told(map.rooms.size(), 0);
    for (int t = 0; t < map.w * map.h; t++) {
        int r = map.region[t];
        if (s.gate_room[t] < 0 || r < 0 || !s.room_entered[r] || s.room_toggled[r] || told[r])
            continue;
        told[r] = 1;
        snprintf(text, sizeof text, "warning: %s, gate (%d, %d): no switch the player can reach toggles it",
                 room_name(map, r).c_str(), t % map.w, t / map.w);
        report.warnings.push_back(text);
    }
    for (size_t c = 0; c < s.cracked_tiles.size(); c++) {
        int t = s.cracked_tiles[c], x = t % map.w, y = t / map.w;
        if (s.short_of_bombs[c] < 0 || s.ever_blasted[c] || !loose.get(1).ever_blasted[c])
            continue;
        bool told_group = false; // one line for a run of cracked tiles
        for (int d = 0; d < 4 && !told_group; d += 2) {
            int nx = x + DX[d], ny = y + DY[d];
            int n = inside(s, nx, ny) ? s.cracked_id[tile_index(s, nx, ny)] : -1;
            told_group = n >= 0 && s.short_of_bombs[n] >= 0 && !s.ever_blasted[n];
        }
        if (told_group)
            continue;
        snprintf(text, sizeof text, "warning: %s, cracked wall (%d, %d): it needs a bomb, and none is left by then "
                 "(the world gives %d before it)", tile_room(map, x, y).c_str(), x, y, s.short_of_bombs[c]);
        report.warnings.push_back(text);
    }
    for (size_t r = 0; r < map.rooms.size(); r++) {
        if (s.room_entered[r])
            continue;
        auto reached = [r](const Search &l) { return l.room_entered[r] != 0; };
        std::string why = missing(s, loose, reached, "it");
        report.warnings.push_back("warning: " + room_name(map, (int)r) + " cannot be reached" +
                                  (why.empty() ? " at all" : ": " + why));
    }
}

// --- The plan -----------------------------------------------------------------------

static const char *way_name(int dir) {
    return dir == DIR_LEFT ? "west" : dir == DIR_RIGHT ? "east" : dir == DIR_UP ? "north" : "south";
}

static std::string took_line(const Search &s, int k) {
    int t = s.key_tiles[k], o = layer_code(s.map->objects, t % s.map->w, t / s.map->w);
    const char *name = o == OBJECT_BAG ? "the bomb bag" : o == OBJECT_CLOAK ? "the cloak" : o == OBJECT_LAMP ? "the lamp"
                                                                                                           : "the goal";
    char text[96];
    snprintf(text, sizeof text, "   take %s at (%d, %d)", name, t % s.map->w, t / s.map->w);
    return text;
}

static std::string step_line(const Search &s, const State &st, int n) {
    const ReachMap &map = *s.map;
    const Step &p = st.step;
    char text[200];
    std::string room = room_name(map, st.room);
    if (p.kind == STEP_START)
        snprintf(text, sizeof text, "%d. start in %s", n, room.c_str());
    else if (p.kind == STEP_DOOR)
        snprintf(text, sizeof text, "%d. %s, going %s, into %s", n, door_name(p).c_str(), way_name(p.dir), room.c_str());
    else if (p.kind == STEP_SWITCH)
        snprintf(text, sizeof text, "%d. from (%d, %d) shoot %s at the switch (%d, %d): the gates of %s toggle", n,
                 p.ax, p.ay, way_name(p.dir), p.x, p.y, room.c_str());
    else
        snprintf(text, sizeof text, "%d. drop a bomb at (%d, %d) in %s: %d left", n, p.x, p.y, room.c_str(),
                 st.hold.bombs);
    return text;
}

static void make_plan(const Search &s, ReachReport &report) {
    std::vector<int> path;
    for (int i = s.goal_state; i >= 0; i = s.states[i].parent)
        path.push_back(i);
    std::reverse(path.begin(), path.end());
    for (size_t n = 0; n < path.size(); n++) {
        const State &st = s.states[path[n]];
        report.plan.push_back(step_line(s, st, (int)n + 1));
        for (int k : st.took)
            report.plan.push_back(took_line(s, k));
    }
}

ReachReport prove_reach(const ReachMap &map) {
    ReachReport report;
    Search real;
    run_search(real, map, Loosen{});
    report.states = (int)real.states.size();
    report.reached = real.tile_reached;
    for (int t = 0; t < map.w * map.h; t++)
        report.reached[t] |= real.object_reached[t];
    if (real.states.empty())
        return report; // the check names a start in a wall
    report.finishable = real.goal_state >= 0;
    if (real.gave_up)
        report.warnings.push_back("warning: the proof stopped after " + std::to_string(real.states.size()) +
                                  " places and holdings; what it says covers those");
    Loosened loose;
    loose.map = &map;
    check_steps(real, loose, report);
    check_targets(real, loose, report);
    if (report.finishable)
        make_plan(real, report);
    return report;
}
