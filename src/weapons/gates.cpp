// gates.cpp -- switching the room's gates open and closed
#include "weapons.h"

void toggle_gates() {}
