// editors.h -- the in-game terrain, object and monster editors
#pragma once

extern int editor_last_terrain; // the terrain brush kept between openings

// Each editor: reload its layer, loop until Esc is held at the end of a pass,
// wait for Esc's release, save the layer, hide the mouse pointer.
void edit_terrain();
void edit_objects();
void edit_monsters();

// The editors cut into their steps, so that each pass can be driven alone.
// A pass returns true when Esc was held at its end (the loop then ends).
extern int terrain_brush;       // code the left button paints in the terrain editor
extern int terrain_paint_value; // code of the terrain editor's last paint, -1 before the first
void terrain_editor_open();
bool terrain_editor_pass();
void terrain_editor_close();

extern int object_brush;        // object code 1..14 the left button places
void object_editor_open();
bool object_editor_pass();
void object_editor_close();

extern int monster_brush;       // monster kind 1..14 the left button places
void monster_editor_open();
bool monster_editor_pass();
void monster_editor_close();

// Steps the three editors share.
// Replaces layer 0, 1 or 2 by a fresh load of its file. When the file cannot
// be read the layer in memory is kept, one line goes to standard error, and
// the result is false.
bool reload_layer(int layer);
// The tile under the mouse: view origin plus (mouse + sub-tile offset) / 16,
// rounded down; the panel area maps too, to tiles right of the view.
void editor_target_tile(int *tx, int *ty);
// Polls, without sleeping, until Esc is released.
void wait_for_esc_release();
