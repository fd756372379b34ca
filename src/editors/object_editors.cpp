// object_editors.cpp -- placing objects and monsters with the mouse
#include "editors.h"

void edit_objects() {}
void edit_monsters() {}
