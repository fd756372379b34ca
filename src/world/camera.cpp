// camera.cpp -- the view origin, the follow step and the re-basing step
#include "view.h"

int view_tx = 66;
int view_ty = 151;
int scroll_px = 0;
int scroll_py = 0;
int scroll_right_edge = 148;
int scroll_left_edge = 80;
int scroll_top_edge = 96;
int scroll_bottom_edge = 128;
