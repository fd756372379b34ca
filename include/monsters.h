// monsters.h -- the monster table, spawning, drawing and movement
#pragma once

struct Monster {
    int status;   // 1 alive; 2 dead or empty
    int x, y;     // top-left of the box, play-field pixels
    int patrol_h; // kind 14: 1 moving left, else right
    int patrol_v; // kind 13: 1 moving up, else down
    int width, height;
    int kind;     // 1..14
    int hp;
};

constexpr int MAX_MONSTERS = 100;
extern Monster monsters[MAX_MONSTERS];
extern int monster_count;     // records filled by the last spawn

void spawn_monsters();
void draw_monsters();
void update_monsters();
void move_monster(int dir, int steps, int index);
