// editors.h -- the in-game terrain, object and monster editors
#pragma once

extern int editor_last_terrain; // the terrain brush kept between openings

void edit_terrain();
void edit_objects();
void edit_monsters();
