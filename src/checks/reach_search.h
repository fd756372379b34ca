// reach_search.h -- the search behind the reach proof: places, what the player holds, and the steps between them
#pragma once
#include "checks.h"
#include "map_terrain.h"
#include <string>
#include <unordered_map>
#include <vector>

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

// A place: the blocks the player walks between in one room, as the room's
// gates, cracked tiles and the cloak stand, and what can be done there.
struct Place {
    int first = -1, room = -1, kind = -1;       // its least block; its room; the room as it stands
    std::vector<int> objects;                    // object tiles its probes reach
    std::vector<std::pair<Step, int>> doors;     // a door and the block it lands in
    std::vector<Step> shots;                     // shots that stop on a switch of the room
    std::vector<int> bomb_spots;                 // block * 2 + side: a bomb there blasts a cracked tile
};

// A place and what is held there.
struct State {
    Holding hold;
    int place = -1;
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
    std::vector<int> cracked_id, gate_room, key_id;   // per tile, -1 none
    std::vector<int> cracked_tiles, key_tiles;
    std::vector<int> room_gates;                      // per room: its index among rooms with gates, -1 none
    std::vector<std::vector<int>> room_cracked;       // per room: its cracked tiles' numbers
    std::vector<Place> places;
    std::unordered_map<std::string, int> place_kinds; // a room as it stands, numbered
    std::vector<int> place_head;                      // per block: its first link, -1 none
    std::vector<std::pair<int, int>> place_links;     // (place, next link): the places a block lies in
    std::vector<State> states;
    std::vector<Edge> edges;
    std::unordered_map<std::string, int> seen;
    std::vector<int> mark;
    int stamp = 0;
    std::vector<char> object_reached, room_entered, room_toggled, tile_reached, ever_blasted;
    std::vector<int> short_of_bombs; // per cracked tile: most bombs gathered while in reach with none held, -1
    int goal_state = -1;
    bool gave_up = false;
};

// The search's tables (cracked tiles, gates, key objects), ready for place_of.
void prepare_search(Search &s, const ReachMap &map, const Loosen &loosen);
// Runs the search from the start under the loosened rules.
void run_search(Search &s, const ReachMap &map, const Loosen &loosen);
// Nothing held and nothing changed, sized for the search's tables.
Holding bare_holding(const Search &s);
// The place of block `seed` under `h` (-1: the player's box does not fit there).
int place_of(Search &s, const Holding &h, int seed);
