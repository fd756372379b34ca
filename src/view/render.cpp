// render.cpp -- drawing the view, the player and the panel; presenting frames
#include "view.h"
#include "assets.h"
#include "map.h"
#include "player.h"

int room_lit = 1; // 1 when the last draw_view met no dark tile, 0 when it did
void (*panel_override)(BITMAP *dest) = nullptr; // an open editor's own panel
const char *panel_note = nullptr;                 // a word under the panel's counters, or none

// Editors only: a tile outside the layer, striped so that the edge of the
// world cannot be taken for a wall of code 0 (play draws it as code 0).
static void draw_outside_tile(int x, int y) {
    int colours[2] = {makecol(0, 0, 0), makecol(255, 255, 255)};
    for (int j = 0; j < TILE_SIZE; j++)
        for (int i = 0; i < TILE_SIZE; i++)
            putpixel(back_buffer, x + i, y + j, colours[((i + j) / 4) % 2]); // diagonal stripes
}

// Code of (tx, ty) in `layer`; a tile outside it reads as 0, so it draws as
// the boundary tile and never from an entry that is not tile art.
static int code_at(BITMAP *layer, int tx, int ty) {
    int code = layer_code(layer, tx, ty);
    return code < 0 ? 0 : code;
}

// Draws one tile of the view at play-field (x, y); returns true for a dark tile.
static bool draw_tile(int mode, int tx, int ty, int x, int y) {
    if (mode != 0 && layer_code(terrain_layer, tx, ty) < 0) {
        draw_outside_tile(x, y);
        return false;
    }
    int t = code_at(terrain_layer, tx, ty);
    int o = code_at(object_layer, tx, ty);
    const TerrainRule &rule = terrain_rule(t);
    int art = mode == 0 ? rule.game_art : t; // the editors show every code's own entry
    // Editors reach codes past the last entry: game_bitmap gives a placeholder.
    blit(game_bitmap(TERRAIN_ART_BASE + art), back_buffer, 0, 0, x, y, TILE_SIZE, TILE_SIZE);
    if (rule.dark && mode == 1)
        line(back_buffer, x, y, x + 15, y + 15, 255);
    if (o > 0)
        draw_sprite(back_buffer, object_art(o), x, y);
    if (mode == 1 && rule.editor_dot >= 0)
        putpixel(back_buffer, x + 8, y + 8, rule.editor_dot);
    return rule.dark;
}

// Monster editor: the monster layer's kinds over the drawn tiles.
static void draw_monster_layer() {
    for (int j = -1; j <= 15; j++)
        for (int i = -1; i <= 15; i++) {
            int m = code_at(monster_layer, view_tx + i, view_ty + j);
            if (m <= 0)
                continue;
            // monster_art gives the placeholder for a kind without art.
            draw_sprite(back_buffer, monster_art(m), i * TILE_SIZE - scroll_px, j * TILE_SIZE - scroll_py);
        }
}

void draw_view(int mode) {
    int old_tx = view_tx, old_ty = view_ty, old_px = scroll_px, old_py = scroll_py;
    follow_player();
    // 17 x 17 tiles: with offsets in -16..16 they cover the whole play field.
    // Every one of them counts for darkness, also those out of sight.
    bool dark = false;
    for (int j = -1; j <= 15; j++)
        for (int i = -1; i <= 15; i++)
            if (draw_tile(mode, view_tx + i, view_ty + j, i * TILE_SIZE - scroll_px, j * TILE_SIZE - scroll_py))
                dark = true;
    if (mode == 2)
        draw_monster_layer();
    rebase_world(old_tx, old_ty, old_px, old_py);
    room_lit = dark ? 0 : 1;
}

void draw_player() {
    BITMAP *frame = player_frame_art(player_frame);
    // Ghost walking: the same condition that lets the player through codes 24 and 25.
    if (key[KEY_LCONTROL] && has_ghost == 1) {
        color_map = &trans_table; // the dark frame puts the light table back (lamp.cpp)
        draw_trans_sprite(back_buffer, frame, player_x, player_y);
    } else {
        draw_sprite(back_buffer, frame, player_x, player_y);
    }
}

void draw_panel(BITMAP *dest) {
    FONT *panel_font = (FONT *)game_data[PANEL_FONT].dat;
    blit(game_bitmap(PANEL_ART), dest, 0, 0, 240, 0, 80, 240);
    // Background -1: the counters are drawn straight onto the panel art.
    textprintf_centre_ex(dest, panel_font, 280, 10, 0, -1, "SCORE:%d", score);
    textprintf_centre_ex(dest, panel_font, 280, 40, 0, -1, "HP:%d", player_hp / 100);
    textprintf_centre_ex(dest, panel_font, 280, 70, 0, -1, "BOMBS:%d", bombs);
    if (panel_note) { // yellow on black, below the lamp, where the panel art is plainest
        rectfill(dest, 244, 210, 315, 226, makecol(0, 0, 0));
        textprintf_centre_ex(dest, panel_font, 280, 214, makecol(255, 200, 0), -1, "%s", panel_note);
    }
}

void present_frame() {
    if (panel_override)
        panel_override(back_buffer);
    else
        draw_panel(back_buffer);
    acquire_screen();
    present_region(back_buffer, 0, 0, 0, 0, FRAME_W, FRAME_H);
    release_screen();
}

void clear_buffer(BITMAP *bmp) { clear_bitmap(bmp); }
