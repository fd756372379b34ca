// bomb.cpp -- dropping the bomb, its fuse, explosion and blast
#include "weapons.h"

int bomb_x, bomb_y, bomb_state, bomb_timer;

void reset_bomb() {}
void drop_bomb() {}
void update_bomb() {}
