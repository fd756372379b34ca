// monster_movement.cpp -- chasers, patrollers, and moving with collision
#include "monsters.h"

void update_monsters() {}
void move_monster(int, int, int) {}
