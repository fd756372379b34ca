// place_editors.cpp -- the object and monster editors: one editor, two layers
//
// Both place a kind (1 up to the last of their table) with the left button
// and erase with the right. They
// differ in what is described below: their layer, the view mode, how the
// brush is shown, and what Q and W redraw.
#include "editors.h"
#include "assets.h"
#include "map.h"
#include "view.h"

int object_brush = 1;  // object code the left button places in the object editor
int monster_brush = 1; // monster kind the left button places in the monster editor

// Both editors place codes from 1; the right button erases.
static const int PLACE_BRUSH_MIN = 1;

// What makes each of the two editors itself.
struct PlaceEditor {
    int layer;            // 1 objects, 2 monsters
    BITMAP **slot;        // the layer's global
    int *brush;
    int brush_max;        // the last kind of the layer's table
    int view_mode;        // draw_view's mode
    void (*draw_brush)(); // the brush over the view's corner, into back_buffer
    bool preview_every_pass; // objects: the brush straight to the screen on every pass
    bool show_brush_on_key;  // monsters: Q and W redraw and copy the frame, panel not redrawn
};

static void draw_object_brush() {
    blit(object_art(object_brush), back_buffer, 0, 0, 0, 0, 16, 16);
}
static void draw_monster_brush() { draw_sprite(back_buffer, monster_art(monster_brush), 0, 0); }

static const PlaceEditor object_editor = {1, &object_layer, &object_brush, MAX_OBJECT_CODE, 1, draw_object_brush, true, false};
static const PlaceEditor monster_editor = {2, &monster_layer, &monster_brush, MAX_MONSTER_KIND, 2, draw_monster_brush, false, true};

// What a click writes: the brush for left, 0 for right (right wins).
static int place_value(int brush) { return (mouse_b & 2) ? 0 : brush; }

// A click writes the brush (left) or 0 (right) into the tile under the
// pointer; true when a button is down. Releasing them ends the stroke.
static bool place_under_pointer(const PlaceEditor &e) {
    if (!(mouse_b & 3)) {
        history_buttons_released();
        return false;
    }
    int tx, ty;
    editor_target_tile(&tx, &ty);
    history_paint(e.slot, tx, ty, place_value(*e.brush));
    return true;
}

// The view with the pointer's tile outlined. The object editor draws its
// brush only after a paint (or an undo, or a move of the pointer); the
// monster editor's brush goes with every redraw.
static void draw_place_view(const PlaceEditor &e, bool with_brush) {
    draw_view(e.view_mode);
    outline_pointer_tile();
    if (with_brush)
        e.draw_brush();
}

// The redraw that follows a move of the view by an arrow key.
static const PlaceEditor *arrow_editor;
static void redraw_after_arrow() {
    draw_place_view(*arrow_editor, arrow_editor->show_brush_on_key);
    present_frame();
}

// After Q or W in the monster editor: the whole back buffer straight to the
// screen, with the panel redrawn for the new brush (over the view's column
// that reaches past the play field).
static const PlaceEditor *brush_key_editor;
static void show_brush_after_key() {
    draw_place_view(*brush_key_editor, true);
    draw_editor_panel(back_buffer);
    present_region(back_buffer, 0, 0, 0, 0, FRAME_W, FRAME_H);
}

// After Q or W in the object editor, which redraws nothing else: the panel
// alone, naming the new brush.
static void show_panel_after_key() {
    draw_editor_panel(back_buffer);
    show_mouse(NULL);
    present_region(back_buffer, EDITOR_PANEL_X, 0, EDITOR_PANEL_X, 0, FRAME_W - EDITOR_PANEL_X, FRAME_H);
    show_mouse(screen);
}

static void place_editor_open(const PlaceEditor &e) {
    editor_begin(e.layer);
    show_mouse(screen);
    *e.brush = 1;
    draw_place_view(e, e.show_brush_on_key);
    present_frame();
}

static bool place_editor_pass(const PlaceEditor &e) {
    if (editor_question != ASK_NONE)
        return editor_answer_pass();
    if (e.preview_every_pass) // so the preview follows Q and W at once
        present_region(object_art(*e.brush), 0, 0, 0, 0, 16, 16);
    brush_key_editor = &e;
    editor_brush_keys(e.brush, PLACE_BRUSH_MIN, e.brush_max,
                      e.show_brush_on_key ? show_brush_after_key : show_panel_after_key);
    arrow_editor = &e;
    editor_arrow_keys(redraw_after_arrow);
    bool undone = editor_history_keys();
    if (place_under_pointer(e) || undone || pointer_tile_moved()) {
        show_mouse(NULL);
        draw_place_view(e, true);
        present_frame();
        show_mouse(screen);
    }
    return editor_esc_held();
}

static void place_editor_close(const PlaceEditor &e) {
    editor_finish(e.layer);
    show_mouse(NULL);
}

void object_editor_open() { place_editor_open(object_editor); }
bool object_editor_pass() { return place_editor_pass(object_editor); }
void object_editor_close() { place_editor_close(object_editor); }
void monster_editor_open() { place_editor_open(monster_editor); }
bool monster_editor_pass() { return place_editor_pass(monster_editor); }
void monster_editor_close() { place_editor_close(monster_editor); }

void edit_objects() {
    object_editor_open();
    while (!object_editor_pass()) {
    }
    object_editor_close();
}

void edit_monsters() {
    monster_editor_open();
    while (!monster_editor_pass()) {
    }
    monster_editor_close();
}
