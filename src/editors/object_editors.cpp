// object_editors.cpp -- placing objects and monsters with the mouse
#include "editors.h"
#include "assets.h"
#include "layers.h"
#include "view.h"

int object_brush = 1;  // object code the left button places in the object editor
int monster_brush = 1; // monster kind the left button places in the monster editor

// Both editors place codes 1..14; the right button erases.
static const int PLACE_BRUSH_MIN = 1;
static const int PLACE_BRUSH_MAX = 14;

static int clamp_brush(int brush) {
    if (brush < PLACE_BRUSH_MIN)
        return PLACE_BRUSH_MIN;
    if (brush > PLACE_BRUSH_MAX)
        return PLACE_BRUSH_MAX;
    return brush;
}

// What a click writes: the brush for left, 0 for right (right wins).
static int place_value(int brush) {
    int value = brush;
    if (mouse_b & 2)
        value = 0;
    return value;
}

// A click writes the brush (left) or 0 (right) into the tile under the
// pointer; true when a button is down. Releasing them ends the stroke.
static bool place_under_pointer(BITMAP **layer, int brush) {
    if (!(mouse_b & 3)) {
        history_buttons_released();
        return false;
    }
    int tx, ty;
    editor_target_tile(&tx, &ty);
    history_paint(layer, tx, ty, place_value(brush));
    return true;
}

// Moves the view origin one tile for each held arrow, in the order Left,
// Right, Up, Down, with no bound; `moved` redraws after each move, then 50 ms pass.
static void move_view_by_arrows(void (*moved)()) {
    static const int arrows[4][3] = {
        {KEY_LEFT, -1, 0}, {KEY_RIGHT, 1, 0}, {KEY_UP, 0, -1}, {KEY_DOWN, 0, 1}};
    for (const int *a : arrows) {
        if (!key[a[0]])
            continue;
        view_tx += a[1];
        view_ty += a[2];
        moved();
        rest(50);
    }
}

// --- The object editor ---

static BITMAP *object_preview() {
    return game_bitmap(OBJECT_ART_BASE + object_brush);
}

static void redraw_objects() {
    draw_view(1);
    outline_pointer_tile();
    present_frame();
}

// The view after a paint, an undo or a move of the pointer to another tile:
// redrawn with the brush over its corner, the library's pointer hidden meanwhile.
static void repaint_objects() {
    show_mouse(NULL);
    draw_view(1);
    outline_pointer_tile();
    blit(object_preview(), back_buffer, 0, 0, 0, 0, 16, 16);
    present_frame();
    show_mouse(screen);
}

void object_editor_open() {
    reload_layer(1);
    editor_begin(1);
    show_mouse(screen);
    object_brush = 1;
    redraw_objects();
}

bool object_editor_pass() {
    // Straight to the screen every pass, so it follows Q and W at once.
    present_region(object_preview(), 0, 0, 0, 0, 16, 16);
    if (key[KEY_Q]) {
        object_brush--;
        rest(150);
        object_brush = clamp_brush(object_brush);
    }
    if (key[KEY_W]) {
        object_brush++;
        rest(150);
        object_brush = clamp_brush(object_brush);
    }
    move_view_by_arrows(redraw_objects);
    bool undone = editor_history_keys();
    if (place_under_pointer(&object_layer, object_brush) || undone || pointer_tile_moved())
        repaint_objects();
    return editor_esc_held();
}

void object_editor_close() {
    editor_finish(1);
    show_mouse(NULL);
}

void edit_objects() {
    object_editor_open();
    while (!object_editor_pass()) {
    }
    object_editor_close();
}

// --- The monster editor ---

// The view with the monster layer, and the brush's sprite over its corner.
static void draw_monster_view() {
    draw_view(2);
    outline_pointer_tile();
    draw_sprite(back_buffer, monster_art(monster_brush), 0, 0);
}

static void redraw_monsters() {
    draw_monster_view();
    present_frame();
}

// After Q or W: the whole back buffer straight to the screen, panel not redrawn.
static void show_monster_brush() {
    draw_monster_view();
    present_region(back_buffer, 0, 0, 0, 0, FRAME_W, FRAME_H);
}

void monster_editor_open() {
    reload_layer(2);
    editor_begin(2);
    show_mouse(screen);
    monster_brush = 1;
    redraw_monsters();
}

bool monster_editor_pass() {
    if (key[KEY_Q]) {
        monster_brush = clamp_brush(monster_brush - 1);
        show_monster_brush();
        rest(150);
    }
    if (key[KEY_W]) {
        monster_brush = clamp_brush(monster_brush + 1);
        show_monster_brush();
        rest(150);
    }
    move_view_by_arrows(redraw_monsters);
    bool undone = editor_history_keys();
    if (place_under_pointer(&monster_layer, monster_brush) || undone || pointer_tile_moved()) {
        show_mouse(NULL);
        redraw_monsters();
        show_mouse(screen);
    }
    return editor_esc_held();
}

void monster_editor_close() {
    editor_finish(2);
    show_mouse(NULL);
}

void edit_monsters() {
    monster_editor_open();
    while (!monster_editor_pass()) {
    }
    monster_editor_close();
}
