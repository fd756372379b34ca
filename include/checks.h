// checks.h -- what is wrong with a world, and the proof that it can be finished (src/checks)
//
// The world tool's check and the editors' panel ask the same questions: the
// layers' sizes, closed rooms, the start, codes with art, monsters clear of
// walls, exits that land, and where the player gets, in which order, and
// where it cannot.
#pragma once
#include <allegro.h>
#include <string>
#include <vector>

// A room as the check finds it: its bounding walls; the top-left one names it.
struct ReachRoom {
    int left, top, right, bottom;
};

// What the proof reads: the layers, and the room of each tile (-1: none).
struct ReachMap {
    BITMAP *terrain = nullptr, *objects = nullptr, *monsters = nullptr;
    int w = 0, h = 0;
    std::vector<int> region;
    std::vector<ReachRoom> rooms;
};

// One step of the plan to the goal, for a player (or a program) to follow.
enum PlanKind { PLAN_DOOR, PLAN_SWITCH, PLAN_BOMB, PLAN_TAKE };
struct PlanStep {
    int kind;
    int x, y;   // door: its first exit tile; switch: the switch; bomb: the blast's centre; take: the object
    int dir;    // door: the way through; switch: the way to shoot
    int bx, by; // switch and bomb: the block (two tiles wide, one row) to stand on
};

// What the proof finds.
struct ReachReport {
    std::vector<std::string> problems, warnings;
    std::vector<std::string> plan; // the route to the goal, a line a step
    std::vector<PlanStep> steps;   // the same route, step by step
    std::vector<char> reached;     // per tile: the player stands there or a probe reaches it
    bool finishable = false;
    int states = 0;                // places-and-holdings the search went through
};

// Searches every place the player can get to from the start, with what it
// holds (cloak, bombs, gates toggled, cracked walls blasted), and reports the
// goal out of reach, dead ends, one-way doors, objects never taken, gates no
// switch toggles, cracked walls short of bombs and rooms never entered.
ReachReport prove_reach(const ReachMap &map);

// The three layers of a world (terrain, objects, monsters).
struct World {
    BITMAP *layer[3] = {nullptr, nullptr, nullptr};
};
extern const char *const LAYER_TITLES[3]; // "terrain", "object", "monster", as messages name them

// What check finds: problems (the game would break or could not be
// finished) and warnings (the world is unfair to a newcomer), a line each.
struct WorldReport {
    std::vector<std::string> problems, warnings;
};
WorldReport check_world(const World &world);
// The reach proof alone, on the rooms the check finds.
ReachReport reach_of_world(const World &world);
