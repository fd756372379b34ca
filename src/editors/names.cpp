// names.cpp -- the names of terrain codes, objects and monster kinds
#include "editors_names.h"

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

static const CodeName object_names[] = {
    {0, "none", "none"},
    {1, "coin", "coin: score + 50"},
    {2, "goal", "goal: taking it ends the game"},
    {3, "ornament", "ornament without effect"},
    {4, "ornament", "ornament without effect"},
    {5, "lamp", "lamp: dark rooms show a circle of light"},
    {6, "ornament", "ornament without effect"},
    {7, "ornament", "ornament without effect"},
    {8, "heart", "heart: 10 hit points"},
    {9, "ornament", "ornament without effect"},
    {10, "gem", "gem: score + 100"},
    {11, "cloak", "ghost cloak: walk through ghost walls while Left Control is held"},
    {12, "bomb bag", "bomb bag: 5 bombs"},
    {13, "treasure", "treasure: score + 1000"},
    {14, "jewel", "jewel: score + 200"},
};

static const CodeName monster_names[] = {
    {0, "none", "none"},
    {1, "giant", "giant: a large chaser, 82x130 pixels"},
    {2, "slime", "slime: a chaser"},
    {3, "bat", "bat: a chaser"},
    {4, "beetle", "beetle: a chaser"},
    {5, "rat", "rat: a chaser"},
    {6, "eye", "eye: a chaser"},
    {7, "spider", "spider: a chaser"},
    {8, "snake", "snake: a chaser"},
    {9, "ghost", "ghost: a chaser"},
    {10, "scorpion", "scorpion: a chaser"},
    {11, "toad", "toad: a chaser"},
    {12, "fire", "fire: a chaser"},
    {13, "ball up/dn", "vertical patroller, starts moving up; shots pass through it"},
    {14, "ball l/r", "horizontal patroller, starts moving left; shots pass through it"},
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

static const CodeName *find(int layer, int code) {
    static const CodeName unknown = {-1, "unknown", "no art or meaning"};
    struct Table {
        const CodeName *entries;
        int count;
    };
    static const Table tables[3] = {
        {terrain_names, (int)(sizeof terrain_names / sizeof *terrain_names)},
        {object_names, (int)(sizeof object_names / sizeof *object_names)},
        {monster_names, (int)(sizeof monster_names / sizeof *monster_names)},
    };
    if (layer < 0 || layer > 2 || code < 0 || code > 255)
        return &unknown;
    for (int i = 0; i < tables[layer].count; i++)
        if (tables[layer].entries[i].code == code)
            return &tables[layer].entries[i];
    return layer == 0 ? terrain_class(code) : &unknown;
}

const char *code_name(int layer, int code) { return find(layer, code)->name; }
const char *code_description(int layer, int code) { return find(layer, code)->description; }
