// shots.cpp -- firing, flying, hitting and drawing shots
#include "weapons.h"

Shot shots[MAX_SHOTS];

void clear_shots() {}
void fire_shot() {}
void update_shots() {}
void draw_shots() {}
