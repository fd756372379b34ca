// editor_panel.cpp -- what an open editor shows beside the view: its panel and the tile outline
#include "editors.h"
#include "assets.h"
#include "map.h"
#include "monsters.h"
#include "editors_names.h"
#include "player.h"
#include "view.h"
#include <cstdarg>
#include <cstdio>
#include <cstring>

int open_editor_layer = -1;


// Per editor: its title and the keys it answers to, one short line each.
struct EditorInfo {
    const char *title;
    const char *keys[12];
};
static const EditorInfo editor_info[3] = {
    {"TERRAIN", {"Q W  brush", "1-4ZL pick", "LMB  paint", "RMB  floor", "SPC+R  68", "SPC+L last",
                 "ARROW view", "BS   undo", "SH+BS redo", "ESC  save", "SHIFT+ESC", " discard"}},
    {"OBJECTS", {"Q W  brush", "LMB  place", "RMB  erase", "ARROW view", "BS   undo", "SH+BS redo", "ESC  save",
                 "SHIFT+ESC", " discard"}},
    {"MONSTERS", {"Q W  brush", "LMB  place", "RMB  erase", "ARROW view", "BS   undo", "SH+BS redo", "ESC  save",
                  "SHIFT+ESC", " discard"}},
};

// The panel's text, top to bottom, and where the brush's picture goes.
static const int PICTURE_Y = 36, PICTURE_SIZE = 32, TEXT_AFTER_PICTURE = PICTURE_Y + PICTURE_SIZE + 4;

static void add_line(EditorPanel &p, bool warning, const char *format, ...) {
    if (p.line_count >= EDITOR_PANEL_LINES)
        return;
    va_list args;
    va_start(args, format);
    vsnprintf(p.lines[p.line_count], sizeof p.lines[0], format, args);
    va_end(args);
    p.warning[p.line_count++] = warning;
}

int editor_brush(int layer) {
    return layer == 0 ? terrain_brush : layer == 1 ? object_brush : monster_brush;
}

// What the three layers hold at the tile, one line each ("T 30 wall").
static void add_tile_lines(EditorPanel &p, int tx, int ty) {
    for (int l = 0; l < 3; l++) {
        int code = layer_code(*LAYERS[l].bitmap, tx, ty);
        if (code < 0)
            add_line(p, false, "%c  outside", LAYERS[l].letter);
        else
            add_line(p, false, "%c%3d %s", LAYERS[l].letter, code, code_name(l, code));
    }
}

void tile_warnings(int tx, int ty, const char **first, const char **second) {
    *first = *second = nullptr;
    int kind = layer_code(monster_layer, tx, ty), wx, wy, code;
    if (kind > 0 && monster_starts_in_wall(terrain_layer, kind, tx, ty, &wx, &wy, &code))
        *first = "!monster in wall";
    int object = layer_code(object_layer, tx, ty);
    if (object > 0 && !object_can_be_taken(terrain_layer, tx, ty))
        *(*first ? second : first) = "!object untakeable";
}

// Text over as many lines of ten as it needs, broken at spaces (a longer
// word is cut).
static void add_wrapped(EditorPanel &p, bool warning, const char *text) {
    while (*text) {
        int cut = (int)strlen(text);
        if (cut > 10) {
            cut = 10;
            while (cut > 0 && text[cut] != ' ')
                cut--;
            if (cut == 0)
                cut = 10;
        }
        add_line(p, warning, "%.*s", cut, text);
        text += cut;
        while (*text == ' ')
            text++;
    }
}

// The question leaving waits on, and its keys, instead of everything else.
static void compose_question(EditorPanel &p, int layer) {
    char text[100];
    add_line(p, false, "");
    if (editor_question == ASK_DISCARD) {
        snprintf(text, sizeof text, "Drop every unsaved edit of %s?", layer_file_name(layer));
        add_wrapped(p, true, text);
        add_line(p, false, "");
        add_line(p, false, "D  drop");
    } else {
        snprintf(text, sizeof text, "%s changed on disk since it was read.", layer_file_name(layer));
        add_wrapped(p, true, text);
        add_line(p, false, "");
        for (const char *line : {"S  save", "  my edits", "D  keep", "  the file"})
            add_line(p, false, "%s", line);
    }
    add_line(p, false, "ESC  back");
    p.picture_after = EDITOR_PANEL_LINES; // no picture
}

// A file refused at opening: why, and only the keys that still work.
static void compose_refusal(EditorPanel &p) {
    char text[300];
    snprintf(text, sizeof text, "!Not loaded: %s. The file is left as it is.", editor_refusal);
    add_wrapped(p, true, text);
    p.picture_after = EDITOR_PANEL_LINES;
    int tx, ty;
    editor_target_tile(&tx, &ty);
    add_line(p, false, "AT %d,%d", tx, ty);
    add_tile_lines(p, tx, ty);
    add_line(p, false, "");
    add_line(p, false, "ARROW view");
    add_line(p, false, "ESC  leave");
}

void compose_editor_panel(int layer, EditorPanel &p) {
    p.line_count = 0;
    p.picture_after = 0;
    const EditorInfo &info = editor_info[layer];
    int brush = editor_brush(layer);
    add_line(p, false, "%s", info.title);
    add_line(p, false, "%s", layer_file_name(layer));
    if (editor_question != ASK_NONE)
        return compose_question(p, layer);
    if (editor_refusal[0])
        return compose_refusal(p);
    if (unsaved_edits[layer])
        add_line(p, true, "!unsaved");
    if (const char *lost = proof_warning())
        add_wrapped(p, true, lost);
    add_line(p, false, "BRUSH %d", brush);
    add_line(p, false, "%s", code_name(layer, brush));
    p.picture_after = p.line_count;
    int tx, ty;
    editor_target_tile(&tx, &ty);
    add_line(p, false, "AT %d,%d", tx, ty);
    add_tile_lines(p, tx, ty);
    const char *warnings[2];
    tile_warnings(tx, ty, &warnings[0], &warnings[1]);
    for (const char *w : warnings)
        if (w)
            add_wrapped(p, true, w);
    add_line(p, false, "");
    for (const char *k : info.keys)
        if (k)
            add_line(p, false, "%s", k);
}

// The brush as the editor paints it, scaled to fit a square of `size`.
static void draw_brush_picture(BITMAP *dest, int layer, int brush, int x, int y, int size) {
    BITMAP *art = layer == 0   ? game_bitmap(TERRAIN_ART_BASE + brush)
                  : layer == 1 ? object_art(brush)
                               : monster_art(brush);
    int w = art->w, h = art->h;
    int big = w > h ? w : h;
    int dw = w * size / big, dh = h * size / big;
    rectfill(dest, x - 1, y - 1, x + size, y + size, makecol(96, 96, 96));
    if (layer == 0)
        stretch_blit(art, dest, 0, 0, w, h, x, y, dw, dh);
    else
        stretch_sprite(dest, art, x + (size - dw) / 2, y + (size - dh) / 2, dw, dh);
}

void draw_editor_panel(BITMAP *dest) {
    int layer = open_editor_layer;
    if (layer < 0 || layer > 2)
        return;
    EditorPanel p;
    compose_editor_panel(layer, p);
    int white = makecol(255, 255, 255), grey = makecol(170, 170, 170), alarm = makecol(255, 200, 0);
    rectfill(dest, EDITOR_PANEL_X, 0, FRAME_W - 1, FRAME_H - 1, makecol(0, 0, 0));
    int y = 1;
    for (int i = 0; i < p.line_count; i++) {
        if (i == p.picture_after) {
            draw_brush_picture(dest, layer, editor_brush(layer), EDITOR_PANEL_X + 24, PICTURE_Y, PICTURE_SIZE);
            y = TEXT_AFTER_PICTURE;
        }
        int colour = p.warning[i] ? alarm : i < p.picture_after ? white : grey;
        textout_ex(dest, font, p.lines[i], EDITOR_PANEL_X, y, colour, -1);
        y += 8;
    }
}

void outline_pointer_tile() {
    int tx, ty;
    editor_target_tile(&tx, &ty);
    int x = tile_to_pixel(view_tx, scroll_px, tx), y = tile_to_pixel(view_ty, scroll_py, ty);
    // Black round white: one of the two shows on any tile.
    rect(back_buffer, x, y, x + 15, y + 15, makecol(0, 0, 0));
    rect(back_buffer, x + 1, y + 1, x + 14, y + 14, makecol(255, 255, 255));
}
