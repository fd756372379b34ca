// monster_table.cpp -- the monster table, spawning and drawing
#include "monsters.h"

Monster monsters[MAX_MONSTERS];
int monster_count;

void spawn_monsters() {}
void draw_monsters() {}
