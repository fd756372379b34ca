// view.h -- the camera, drawing the view, the player and the panel, presenting frames (src/view)
#pragma once
#include <allegro.h>
#include "map.h" // the view origin and the frame buffers

// Start-up of the frame buffers and colour tables (frame_setup.cpp).
// The rgb, light and translucency tables of the game palette, with the
// progress line printed before the last.
void build_colour_tables(const RGB *game_palette);
// The dark buffer, the lamp sprite, the back buffer; the light table in use.
void create_buffers();

// The lamp and the dark frame (lamp.cpp).
extern BITMAP *lamp_sprite;  // 160 x 160 light levels of the lamp circle
extern COLOR_MAP light_table;
// Fills lamp_sprite (already created, 160 x 160) with the lamp's light rings.
void build_lamp_sprite();
void make_light_table(const RGB *game_palette);
void use_light_table();      // color_map := the light table
// The frame when room_lit is 0: black, or with the lamp the circle of light
// round the player; the panel beside it.
void present_dark_frame();

extern int room_lit;         // 1 when the last draw_view met no dark tile

void draw_view(int mode);    // 0 game, 1 terrain/object editor, 2 monster editor
void draw_player();
void draw_panel(BITMAP *dest);
// A short word the game's panel shows under its counters ("UNSAVED" while an
// editor's edits wait for a save that failed); NULL for none.
extern const char *panel_note;
// While an editor runs, present_frame draws its panel with this instead of
// the counters; NULL in play.
extern void (*panel_override)(BITMAP *dest);
void present_frame();
void clear_buffer(BITMAP *bmp);

// The present path: every frame, the start-up fill and the editors' copies
// reach the screen here. The frame is composed at 320 x 240 and shown with
// each pixel as a present_scale x present_scale block, its top-left corner
// at (present_x, present_y) of the screen (1, 0, 0 in the plain mode).
extern int present_scale;
extern int present_x, present_y;
// Copies the w x h block at (sx, sy) of `src` to frame position (fx, fy).
void present_region(BITMAP *src, int sx, int sy, int fx, int fy, int w, int h);
// Fills the frame's area of the screen with one colour.
void present_fill(int colour);
// The same copy into any 8-bit bitmap at (dx, dy), pixels scaled `scale`
// times, clipped to both bitmaps. Any width and scale are safe: wide rows
// are scaled in pieces.
void scale_blit(BITMAP *src, BITMAP *dest, int sx, int sy, int dx, int dy, int w, int h, int scale);
// The frame pixel under the library's pointer (mouse_x, mouse_y), clamped
// to the frame; at scale 1 with no offset, the pointer itself.
void frame_mouse(int *x, int *y);

// The two camera steps inside draw_view. follow_player scrolls the view when
// the player is past an edge of the central box (pinning the player there);
// rebase_world then shifts the lit bomb, flying shots and alive monsters by
// however far the view moved since (old_tx, old_ty, old_px, old_py).
void follow_player();
void rebase_world(int old_tx, int old_ty, int old_px, int old_py);

