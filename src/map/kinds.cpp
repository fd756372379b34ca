// kinds.cpp -- the table of object kinds and the table of monster kinds
#include "map_kinds.h"

const ObjectKind OBJECT_KINDS[MAX_OBJECT_CODE + 1] = {
    {0, EFFECT_NONE, 0, 0, "none", "none"},
    {1, EFFECT_SCORE, 50, OBJECT_ART_BASE + 1, "coin", "coin: score + 50"},
    {2, EFFECT_GOAL, 0, OBJECT_ART_BASE + 2, "goal", "goal: taking it ends the game"},
    {3, EFFECT_NONE, 0, OBJECT_ART_BASE + 3, "ornament", "ornament without effect"},
    {4, EFFECT_NONE, 0, OBJECT_ART_BASE + 4, "ornament", "ornament without effect"},
    {5, EFFECT_LAMP, 0, OBJECT_ART_BASE + 5, "lamp", "lamp: dark rooms show a circle of light"},
    {6, EFFECT_NONE, 0, OBJECT_ART_BASE + 6, "ornament", "ornament without effect"},
    {7, EFFECT_NONE, 0, OBJECT_ART_BASE + 7, "ornament", "ornament without effect"},
    {8, EFFECT_HIT_POINTS, 1000, OBJECT_ART_BASE + 8, "heart", "heart: 10 hit points"},
    {9, EFFECT_NONE, 0, OBJECT_ART_BASE + 9, "ornament", "ornament without effect"},
    {10, EFFECT_SCORE, 100, OBJECT_ART_BASE + 10, "gem", "gem: score + 100"},
    {11, EFFECT_CLOAK, 0, OBJECT_ART_BASE + 11, "cloak", "ghost cloak: walk through ghost walls while Left Control is held"},
    {12, EFFECT_BOMBS, 5, OBJECT_ART_BASE + 12, "bomb bag", "bomb bag: 5 bombs"},
    {13, EFFECT_SCORE, 1000, OBJECT_ART_BASE + 13, "treasure", "treasure: score + 1000"},
    {14, EFFECT_SCORE, 200, OBJECT_ART_BASE + 14, "jewel", "jewel: score + 200"},
};

const ObjectKind *object_kind(int code) {
    return code >= 1 && code <= MAX_OBJECT_CODE ? &OBJECT_KINDS[code] : nullptr;
}

// Kind k is drawn with entry k - 1 of "monster.dat".
const MonsterKind MONSTER_KINDS[MAX_MONSTER_KIND + 1] = {
    {0, MOVE_CHASE, false, false, 0, 0, 0, 0, "none", "none"},
    {1, MOVE_CHASE, true, true, 82, 130, 500, 0, "giant", "giant: a large chaser, 82x130 pixels"},
    {2, MOVE_CHASE, false, true, 30, 20, 40, 1, "slime", "slime: a chaser"},
    {3, MOVE_CHASE, false, true, 30, 20, 40, 2, "bat", "bat: a chaser"},
    {4, MOVE_CHASE, false, true, 30, 20, 40, 3, "beetle", "beetle: a chaser"},
    {5, MOVE_CHASE, false, true, 30, 20, 40, 4, "rat", "rat: a chaser"},
    {6, MOVE_CHASE, false, true, 30, 20, 40, 5, "eye", "eye: a chaser"},
    {7, MOVE_CHASE, false, true, 30, 20, 40, 6, "spider", "spider: a chaser"},
    {8, MOVE_CHASE, false, true, 30, 20, 40, 7, "snake", "snake: a chaser"},
    {9, MOVE_CHASE, false, true, 30, 20, 40, 8, "ghost", "ghost: a chaser"},
    {10, MOVE_CHASE, false, true, 30, 20, 40, 9, "scorpion", "scorpion: a chaser"},
    {11, MOVE_CHASE, false, true, 30, 20, 40, 10, "toad", "toad: a chaser"},
    {12, MOVE_CHASE, false, true, 30, 20, 40, 11, "fire", "fire: a chaser"},
    {13, MOVE_PATROL_VERTICAL, false, false, 30, 20, 0, 12, "ball up/dn",
     "vertical patroller, starts moving up; shots pass through it"},
    {14, MOVE_PATROL_HORIZONTAL, false, false, 30, 20, 0, 13, "ball l/r",
     "horizontal patroller, starts moving left; shots pass through it"},
};

const MonsterKind *monster_kind(int kind) {
    return kind >= 1 && kind <= MAX_MONSTER_KIND ? &MONSTER_KINDS[kind] : nullptr;
}

MonsterMove monster_move(int kind) {
    const MonsterKind *k = monster_kind(kind);
    return k ? k->move : kind < 1 ? MOVE_CHASE : MOVE_STILL;
}

bool monster_can_be_shot(int kind) {
    const MonsterKind *k = monster_kind(kind);
    return !k || k->can_be_shot;
}
