// monsters.h -- the monster table, spawning, drawing and movement (src/monsters)
#pragma once
#include <allegro.h>
#include "map_kinds.h" // what each kind is and does

// One monster of the current room. Nine ints in this order: the layout is
// shared with everything that reads the table.
struct Monster {
    int status;   // 1 alive; 2 dead or empty
    int x, y;     // top-left of the box, play-field pixels
    int patrol_h; // kind 14: 1 moving left, else right; 0 for other kinds
    int patrol_v; // kind 13: 1 moving up, else down; 0 for other kinds
    int width, height; // size of the box (and of the sprite) in pixels
    int kind;     // 1..14, the value read from the monster layer
    int hp;       // hit points; a shot takes 4
};

constexpr int MAX_MONSTERS = 100;
extern Monster monsters[MAX_MONSTERS]; // the monsters of the current room, in spawn order
extern int monster_count;     // records filled by the last spawn

constexpr int MONSTER_ALIVE = 1;
constexpr int MONSTER_DEAD = 2;  // also an empty slot

// Rebuilds the table from the monster layer over the current room.
void spawn_monsters();
// Draws every live monster near the play field into back_buffer.
void draw_monsters();
// One frame of movement: chasers head for the player, patrollers patrol.
void update_monsters();
// Tries `steps` one-pixel steps of monster `index` in direction `dir`,
// blocked by terrain, the player (whom it hurts) and other live monsters.
void move_monster(int dir, int steps, int index);

// The box of a monster of `kind` as it spawns, in pixels (its row of
// MONSTER_KINDS; 30 x 20 for a value with no kind).
void monster_kind_size(int kind, int *width, int *height);
// Whether a monster of `kind` whose box starts at tile (tx, ty) of `terrain`
// starts on a tile it cannot move on (52 or less, or outside the layer):
// true with the first such tile and its code. The world tool's check and the
// monster editor's warning both ask this.
bool monster_starts_in_wall(BITMAP *terrain, int kind, int tx, int ty, int *wall_x, int *wall_y, int *code);
