// map_kinds.h -- what each object and monster kind is and does (src/map)
//
// One row a kind, read by every rule, the editors, the names, the art
// catalogue and the world tool. Adding a kind means a row here and its art.
#pragma once

// --- Objects (the object layer: 0 none, 1..MAX_OBJECT_CODE) -------------------

// What taking an object does.
enum ObjectEffect {
    EFFECT_NONE,       // an ornament: only taken away, with the sound
    EFFECT_SCORE,      // score + amount
    EFFECT_HIT_POINTS, // player_hp + amount (hundredths of the points shown)
    EFFECT_BOMBS,      // bombs + amount
    EFFECT_LAMP,       // has_lamp: dark rooms show the lamp's circle
    EFFECT_CLOAK,      // has_ghost: Left Control walks through ghost walls
    EFFECT_GOAL,       // game_over: the game ends
};

struct ObjectKind {
    int code;
    ObjectEffect effect;
    int amount;              // for the effects that add
    int art_entry;           // its picture in "data.dat"
    const char *name;        // ten characters at most (the editors' panel)
    const char *description; // as the world's legend says it
};

constexpr int MAX_OBJECT_CODE = 14;
constexpr int OBJECT_ART_BASE = 88; // object code c is drawn with entry 88 + c of "data.dat"
constexpr int OBJECT_GOAL = 2; // the object that ends the game when taken
// Row 0 is "none"; row c is object code c.
extern const ObjectKind OBJECT_KINDS[MAX_OBJECT_CODE + 1];
// The row of an object code, or null for 0 and codes without a kind.
const ObjectKind *object_kind(int code);

// --- Monsters (the monster layer: 0 none, 1..MAX_MONSTER_KIND) -----------------

// How a monster of a kind moves each frame.
enum MonsterMove {
    MOVE_STILL,             // does not move (a value above the last kind)
    MOVE_CHASE,             // heads for the player on both axes
    MOVE_PATROL_VERTICAL,   // up and down, starting up, turning where blocked
    MOVE_PATROL_HORIZONTAL, // left and right, starting left, turning where blocked
};

struct MonsterKind {
    int kind;
    MonsterMove move;
    bool giant;       // too large for any door: it never leaves its room
    bool can_be_shot; // shots stop on it and take its hit points; others pass through
    int width, height;        // its box and sprite, in pixels
    int hp;                   // hit points at spawn; a shot takes 4
    int art_entry;            // its sprite in "monster.dat"
    const char *name;         // ten characters at most (the editors' panel)
    const char *description;  // as the world's legend says it
};

constexpr int KIND_LARGE_CHASER = 1;
constexpr int KIND_VERTICAL_PATROL = 13;   // runs up and down, starts up
constexpr int KIND_HORIZONTAL_PATROL = 14; // runs left and right, starts left
constexpr int MAX_MONSTER_KIND = 14;       // the last kind that has art
// Row 0 is "none"; row k is monster kind k.
extern const MonsterKind MONSTER_KINDS[MAX_MONSTER_KIND + 1];
// The row of a monster kind, or null for 0 and values without a kind (such
// markers are never spawned).
const MonsterKind *monster_kind(int kind);
// A record may still hold a value with no row (set by hand): it moves and
// is shot as the rules read the kind number. Below the first kind it
// chases (kinds below the patrollers chase), above the last it stands
// still; only the kinds whose row says so are not shot.
MonsterMove monster_move(int kind);
bool monster_can_be_shot(int kind);
