// editors.h -- the in-game terrain, object and monster editors (src/editors)
#pragma once
#include <allegro.h>
#include "map.h"

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
// Replaces layer 0, 1 or 2 by a fresh load of its file and notes what the
// file held (layer_stamps). When the file cannot be read the layer in memory
// is kept, one line goes to standard error, and the result is false; a file
// that is there but refused (the game would not start with it) is named in
// editor_refusal, and the editor then leaves it as it is.
bool reload_layer(int layer);
// The tile under the mouse: view origin plus (mouse + sub-tile offset) / 16,
// rounded down; the panel area maps too, to tiles right of the view.
void editor_target_tile(int *tx, int *ty);
// Q steps `brush` down, not below `low`; W up, not above `high`; `changed`
// (if any) redraws after each, then 150 ms pass.
void editor_brush_keys(int *brush, int low, int high, void (*changed)());
// Each held arrow, in the order Left, Right, Up, Down, moves the view origin
// one tile (no bound), `moved` (if any) redrawing, then 50 ms pass.
void editor_arrow_keys(void (*moved)());
// Polls, without sleeping, until Esc is released.
void wait_for_esc_release();
// An editor's opening: its layer reloaded (or its unsaved edits taken up),
// its panel in place of the counters, its history started, and the view
// and the player noted (a discard puts them back).
void editor_begin(int layer);
// The end-of-pass test: Esc held ends the editor, unless the leaving needs
// a question answered first (see below).
bool editor_esc_held();
// On leaving: waits for Esc's release, then does what the leaving chose.
void editor_finish(int layer);

// --- Leaving without losing work ---
// How the open editor ends: saving its layer; dropping every unsaved edit
// (Shift+Esc, confirmed), the view and the player put back; keeping a file
// that changed on disk and dropping the edits; writing nothing over a file
// refused at opening.
enum EditorLeave { LEAVE_SAVE, LEAVE_DISCARD, LEAVE_KEEP_FILE, LEAVE_REFUSED };
extern int editor_leave;
// The question on the panel while leaving waits for an answer: none,
// "drop the edits?" (D drops, Esc goes back to editing), or "the file
// changed on disk" (S saves over it, D keeps it, Esc goes back).
enum EditorQuestion { ASK_NONE, ASK_DISCARD, ASK_FILE_CHANGED };
extern int editor_question;
// While a question is up, a pass does nothing but take the answer; true
// when the answer ends the editor.
bool editor_answer_pass();
// Why the open editor's file was refused at opening; "" when it was not.
extern char editor_refusal[256];
// What each layer file held when the game last read or wrote it.
extern FileStamp layer_stamps[3];
// Edits that a failed save left, per layer (NULL when none), with their
// palette: the next opening edits these instead of the file.
extern BITMAP *unsaved_edits[3];
bool layer_file_changed(int layer); // the file differs from layer_stamps'
// Saves the layer; on failure keeps it in unsaved_edits. True when saved.
bool editor_save(int layer);
// True when the tile under the pointer differs from the last time asked.
bool pointer_tile_moved();

// --- What a level designer gets beside the editors' own rules ---

// Undo and redo. A stroke is every tile changed while a mouse button stayed
// down; the history lives while the editor is open, and the layer as the
// editor opened it is kept for leaving without saving (Shift+Esc).
void history_begin(BITMAP **layer); // at opening: the layer's global
void history_end();                 // at closing
// Writes `value` to tile (tx, ty) of the layer held by `layer`, recording
// the change in the open stroke (a new one after the buttons were released)
// when that is the layer being edited.
void history_paint(BITMAP **layer, int tx, int ty, int value);
void history_buttons_released();
bool history_undo(); // false when there is nothing to undo
bool history_redo();
int history_undo_count();
int history_redo_count();
int history_changes(); // strokes ended, undone or redone since the program started
void history_restore_opening();
bool history_layer_as_opened(); // no tile differs from the opening
// Backspace undoes, Shift+Backspace redoes, once per press; true when the
// layer changed.
bool editor_history_keys();
bool shift_held();

// The world check's proof on the layers in memory (editor_proof.cpp): taken
// when an editor opens, and again after each stroke, undo or redo. The
// warning (null when none) says when a change since the opening made the
// goal unreachable or a door one-way, which the panel shows.
void proof_begin();
const char *proof_warning();

// The editor open now: 0 terrain, 1 objects, 2 monsters; -1 in play.
extern int open_editor_layer;
int editor_brush(int layer);

// The editor's panel, as lines of at most ten characters of the 8x8 font
// (the panel is 80 pixels wide), with the brush's picture after the first
// `picture_after` lines.
constexpr int EDITOR_PANEL_LINES = 28;
constexpr int EDITOR_PANEL_X = 240; // the panel's left edge in the frame
struct EditorPanel {
    char lines[EDITOR_PANEL_LINES][11];
    bool warning[EDITOR_PANEL_LINES];
    int line_count;
    int picture_after;
};
void compose_editor_panel(int layer, EditorPanel &panel);
void draw_editor_panel(BITMAP *dest); // the panel of open_editor_layer
// What is wrong at a tile, by the world check's own rules: a monster that
// would start in a wall, an object that can never be taken (NULL if not).
void tile_warnings(int tx, int ty, const char **first, const char **second);
// The 16 x 16 frame round the tile under the pointer, into back_buffer.
void outline_pointer_tile();
