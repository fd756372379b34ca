// render.cpp -- drawing the view, the player and the panel; presenting frames
#include "view.h"

int room_lit = 1;

void draw_view(int) {}
void draw_player() {}
void draw_panel(BITMAP *) {}
void present_frame() { blit(back_buffer, screen, 0, 0, 0, 0, 320, 240); }
void present_dark_frame() { present_frame(); }
void clear_buffer(BITMAP *bmp) { clear_bitmap(bmp); }
