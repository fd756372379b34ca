// terrain_editor.cpp -- painting the terrain layer with the mouse
#include "editors.h"
#include "assets.h"
#include "map.h"
#include "view.h"

int editor_last_terrain = 0;  // the terrain brush kept between openings
int terrain_brush = 0;        // code the left button paints while the editor is open
int terrain_paint_value = -1; // code of the last paint since opening, -1 before the first

// Brushes chosen with one key; of several held, the last in this order wins.
struct TerrainShortcut {
    int key_code;
    int brush;
};
static const TerrainShortcut terrain_shortcuts[] = {
    {KEY_1, CODE_BOUNDARY}, {KEY_2, CODE_WALKABLE}, {KEY_3, CODE_FLOOR},
    {KEY_4, CODE_EXIT},     {KEY_Z, 87},            {KEY_L, CODE_WALL},
};

// The highest brush Q and W step through; Z reaches above it.
static const int TERRAIN_BRUSH_MAX = CODE_EXIT;

// Q, W and the shortcut keys; a shortcut beats Q or W in the same pass.
static void terrain_brush_keys() {
    editor_brush_keys(&terrain_brush, 0, TERRAIN_BRUSH_MAX, nullptr);
    for (const TerrainShortcut &s : terrain_shortcuts)
        if (key[s.key_code])
            terrain_brush = s.brush;
}

// Left paints the brush, right 72; with Space, right paints 68 and left
// repeats the last paint (the brush when nothing was painted yet).
static void terrain_paint() {
    bool left = mouse_b & 1;
    bool right = mouse_b & 2;
    if (!left && !right) {
        history_buttons_released();
        return;
    }
    int tx, ty;
    editor_target_tile(&tx, &ty);
    if (key[KEY_SPACE]) {
        if (right)
            terrain_paint_value = CODE_BLASTED;
    } else {
        if (left)
            terrain_paint_value = terrain_brush;
        if (right)
            terrain_paint_value = CODE_FLOOR;
    }
    if (terrain_paint_value < 0)
        terrain_paint_value = terrain_brush;
    history_paint(&terrain_layer, tx, ty, terrain_paint_value); // nothing outside the layer
}

// The brush's tile over the view's top-left corner: a diagonal for the dark
// floors (as the view marks them), a dot of colour 73 for code 0.
static void draw_terrain_preview() {
    blit(game_bitmap(TERRAIN_ART_BASE + terrain_brush), back_buffer, 0, 0, 0, 0, 16, 16);
    if (terrain_rule(terrain_brush).dark)
        line(back_buffer, 0, 0, 15, 15, 255);
    if (terrain_brush == CODE_BOUNDARY)
        putpixel(back_buffer, 8, 8, 73);
}

void terrain_editor_open() {
    editor_begin(0);
    terrain_brush = editor_last_terrain;
    terrain_paint_value = -1;
    draw_view(1);
    present_frame();
}

bool terrain_editor_pass() {
    if (editor_question != ASK_NONE)
        return editor_answer_pass();
    terrain_brush_keys();
    editor_arrow_keys(nullptr);
    editor_history_keys();
    terrain_paint();
    draw_view(1);
    outline_pointer_tile();
    draw_terrain_preview();
    int px, py;
    frame_mouse(&px, &py);
    putpixel(back_buffer, px, py, 255); // the pointer
    present_frame();
    return editor_esc_held();
}

void terrain_editor_close() {
    editor_finish(0);
    show_mouse(NULL);
    editor_last_terrain = terrain_brush;
}

void edit_terrain() {
    terrain_editor_open();
    while (!terrain_editor_pass()) {
    }
    terrain_editor_close();
}
