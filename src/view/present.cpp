// present.cpp -- the one way frames reach the screen: scaled, placed, and the mouse mapped back
#include "view.h"
#include <cstring>

int present_scale = 1; // every frame pixel is a present_scale x present_scale block on the screen
int present_x = 0;     // screen position of the frame's top-left corner
int present_y = 0;

// Rows of one scaled source row are built here, then copied down. A row
// wider than this (a scale past MAX_PRESENT_SCALE) is built in pieces.
static unsigned char scaled_row[FRAME_W * MAX_PRESENT_SCALE];

// Source pixels [first, last) of one row, each repeated `scale` times, into
// the destination rows of that source row that lie inside `dest`.
static void scale_row_piece(const unsigned char *src, BITMAP *dest, int dx, int dy, int first, int last, int scale) {
    unsigned char *out = scaled_row;
    for (int x = first; x < last; x++)
        for (int r = 0; r < scale; r++)
            *out++ = src[x];
    for (int r = 0; r < scale; r++) {
        int row = dy + r;
        if (row < 0 || row >= dest->h)
            continue;
        uintptr_t addr = bmp_write_line(dest, row) + dx + first * scale;
        memcpy((void *)addr, scaled_row, (size_t)(out - scaled_row));
    }
}

// Copies the w x h block at (sx, sy) of `src` to `dest` at (dx, dy), every
// pixel a scale x scale block. Clipped to both bitmaps (whole blocks only). Works on the screen
// too: rows are written through bmp_write_line, as the library's own blits do.
void scale_blit(BITMAP *src, BITMAP *dest, int sx, int sy, int dx, int dy, int w, int h, int scale) {
    if (scale < 1 || scale > (int)sizeof scaled_row)
        return;
    if (sx < 0) { dx -= sx * scale; w += sx; sx = 0; }
    if (sy < 0) { dy -= sy * scale; h += sy; sy = 0; }
    if (sx + w > src->w) w = src->w - sx;
    if (sy + h > src->h) h = src->h - sy;
    int first_x = dx < 0 ? (-dx + scale - 1) / scale : 0; // source columns left of dest
    int last_x = dx + w * scale > dest->w ? (dest->w - dx) / scale : w;
    if (w <= 0 || h <= 0 || first_x >= last_x)
        return;
    int piece = (int)sizeof scaled_row / scale; // source pixels that fit scaled_row at once
    for (int y = 0; y < h; y++)
        for (int x = first_x; x < last_x; x += piece)
            scale_row_piece(src->line[sy + y] + sx, dest, dx, dy + y * scale, x,
                            x + piece < last_x ? x + piece : last_x, scale);
    bmp_unwrite_line(dest);
}

void present_region(BITMAP *src, int sx, int sy, int fx, int fy, int w, int h) {
    if (present_scale == 1 && present_x == 0 && present_y == 0) {
        blit(src, screen, sx, sy, fx, fy, w, h); // the plain 320x240 mode
        return;
    }
    scale_blit(src, screen, sx, sy, present_x + fx * present_scale, present_y + fy * present_scale, w, h,
               present_scale);
}

void present_fill(int colour) {
    rectfill(screen, present_x, present_y, present_x + FRAME_W * present_scale - 1,
             present_y + FRAME_H * present_scale - 1, colour);
}

// Floor division of a screen distance by the scale, then clamped to 0..limit-1
// as the library clamps its pointer to the plain mode's screen.
static int screen_to_frame(int screen_pos, int origin, int limit) {
    int d = screen_pos - origin;
    int f = d >= 0 ? d / present_scale : -((-d + present_scale - 1) / present_scale);
    if (f < 0)
        return 0;
    return f >= limit ? limit - 1 : f;
}

void frame_mouse(int *x, int *y) {
    *x = screen_to_frame(mouse_x, present_x, FRAME_W);
    *y = screen_to_frame(mouse_y, present_y, FRAME_H);
}
