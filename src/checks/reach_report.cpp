// reach_report.cpp -- the reach proof told: what is out of reach and why, traps, and the plan to the goal
#include "reach_search.h"
#include "map.h"
#include "player.h"
#include <algorithm>
#include <cstdio>
#include <set>

static const int OBJECT_LAMP = 5, OBJECT_CLOAK = 11, OBJECT_BAG = 12;

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
            if (which == 4) // only its places are asked for
                prepare_search(*s[which], *map, l);
            else
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

// The rooms the doors of the place round `seed` lead to, with everything open.
static std::set<int> rooms_led_to(Search &open, const Holding &bare, int seed) {
    std::set<int> rooms;
    int p = place_of(open, bare, seed);
    for (size_t d = 0; p >= 0 && d < open.places[p].doors.size(); d++)
        if (open.map->region[open.places[p].doors[d].second] >= 0)
            rooms.insert(open.map->region[open.places[p].doors[d].second]);
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
    const Holding bare = bare_holding(open);
    for (const Edge &e : s.edges) {
        const State &to = s.states[e.to];
        const Place &before = s.places[s.states[e.from].place], &after = s.places[to.place];
        std::string where = room_name(map, before.room);
        bool lost = good[e.from] && !good[e.to] && !s.gave_up;
        if (e.step.kind == STEP_DOOR) {
            std::set<int> on = rooms_led_to(open, bare, after.first);
            std::string door = door_name(e.step);
            if (on.empty() && !to.goal)
                say(report.problems, room_name(map, after.room) + " is a dead end: " + door + " leads in and no way leads out");
            else if (lost)
                say(report.problems, where + ", " + door + ": past it the goal can no longer be reached");
            if (!on.count(before.room))
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
            int nx = x - (d == 0), ny = y - (d == 2); // the tile left of it, and above it
            int n = nx >= 0 && ny >= 0 ? s.cracked_id[ny * map.w + nx] : -1;
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
    std::string room = room_name(map, s.places[st.place].room);
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
        const Step &p = st.step;
        static const int kinds[] = {-1, PLAN_DOOR, PLAN_SWITCH, PLAN_BOMB}; // by StepKind
        if (p.kind != STEP_START)
            report.steps.push_back(PlanStep{kinds[p.kind], p.x, p.y, p.dir, p.ax, p.ay});
        for (int k : st.took) {
            report.plan.push_back(took_line(s, k));
            int t = s.key_tiles[k];
            report.steps.push_back(PlanStep{PLAN_TAKE, t % s.map->w, t / s.map->w, DIR_NONE, 0, 0});
        }
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
