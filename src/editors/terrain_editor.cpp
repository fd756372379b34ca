// terrain_editor.cpp -- painting the terrain layer with the mouse
#include "editors.h"

int editor_last_terrain = 0;

void edit_terrain() {}
