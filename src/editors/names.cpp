// names.cpp -- the names of terrain codes, objects and monster kinds, from their tables
#include "editors_names.h"
#include "map_kinds.h"

struct CodeName {
    int code;
    const char *name;        // ten characters at most
    const char *description; // as the world's legend says it
};

static const CodeName terrain_names[] = {
    {0, "boundary", "boundary wall: bounds a room"},
    {11, "cracked", "cracked wall: a bomb's blast turns it into 68"},
    {24, "ghost wall", "ghost wall: passed while ghost walking"},
    {25, "ghost wall", "ghost wall, second pattern"},
    {26, "gate", "closed gate (opens to 56)"},
    {27, "gate", "closed gate, second pattern (opens to 57)"},
    {28, "switch", "switch: a shot that stops on it opens and closes the room's gates"},
    {30, "wall", "wall"},
    {52, "low floor", "low floor: the player walks on it, monsters do not"},
    {53, "dark floor", "dark floor: a room that shows it is drawn dark"},
    {54, "dark floor", "dark floor, second pattern"},
    {56, "open gate", "open gate (closes to 26)"},
    {57, "open gate", "open gate, second pattern (closes to 27)"},
    {68, "rubble", "blasted floor, as a bomb leaves a cracked wall"},
    {72, "floor", "floor"},
    {74, "exit", "exit: a boundary the player leaves the room through"},
};

// Codes of no entry of their own, by class.
static const CodeName *terrain_class(int code) {
    static const CodeName wall = {-1, "wall", "wall"};
    static const CodeName floor = {-1, "floor", "floor"};
    static const CodeName high_floor = {-1, "floor 72", "floor, drawn in the game like 72"};
    if (code < 52)
        return &wall;
    return code >= 85 ? &high_floor : &floor;
}

// Terrain: its own entry or its class. Objects and monsters: their kind's
// row (0 is "none").
static CodeName find(int layer, int code) {
    static const CodeName unknown = {-1, "unknown", "no art or meaning"};
    if (code < 0 || code > 255)
        return unknown;
    if (layer == 0) {
        for (const CodeName &t : terrain_names)
            if (t.code == code)
                return t;
        return *terrain_class(code);
    }
    if (layer == 1 && code <= MAX_OBJECT_CODE)
        return CodeName{code, OBJECT_KINDS[code].name, OBJECT_KINDS[code].description};
    if (layer == 2 && code <= MAX_MONSTER_KIND)
        return CodeName{code, MONSTER_KINDS[code].name, MONSTER_KINDS[code].description};
    return unknown;
}

const char *code_name(int layer, int code) { return find(layer, code).name; }
const char *code_description(int layer, int code) { return find(layer, code).description; }
