// editor_proof.cpp -- the world's reach proof asked after each stroke: the panel warns when the goal or a way back is lost
#include "editors.h"
#include "checks.h"
#include "map.h"
#include <cstring>

namespace {

bool proved_at_open = false;   // the layers as the editor opened them could be proved (one size)
bool finishable_at_open = false; // the goal could be reached then
int one_way_at_open = 0;       // one-way doors then
int proved_changes = -1;       // history_changes() the warning was worked out for
const char *warning = nullptr; // the panel's warning, or null

bool layers_provable() {
    BITMAP *t = terrain_layer, *o = object_layer, *m = monster_layer;
    return t && o && m && t->w == o->w && t->w == m->w && t->h == o->h && t->h == m->h;
}

ReachReport proof_now() {
    World world;
    world.layer[0] = terrain_layer;
    world.layer[1] = object_layer;
    world.layer[2] = monster_layer;
    return reach_of_world(world);
}

int one_way_doors(const ReachReport &report) {
    int n = 0;
    for (const std::string &w : report.warnings)
        n += w.find("no way back") != std::string::npos;
    return n;
}

} // namespace

void proof_begin() {
    warning = nullptr;
    proved_changes = history_changes();
    proved_at_open = layers_provable();
    if (!proved_at_open)
        return;
    ReachReport report = proof_now();
    finishable_at_open = report.finishable;
    one_way_at_open = one_way_doors(report);
}

// Worked out again only when the layer may have changed: a stroke ended, or
// one was undone or redone (the default world takes a few milliseconds).
const char *proof_warning() {
    if (!proved_at_open || !layers_provable() || history_changes() == proved_changes)
        return warning;
    proved_changes = history_changes();
    ReachReport report = proof_now();
    if (finishable_at_open && !report.finishable)
        warning = "!the goal is out of reach";
    else if (one_way_doors(report) > one_way_at_open)
        warning = "!a door is one-way";
    else
        warning = nullptr;
    return warning;
}
