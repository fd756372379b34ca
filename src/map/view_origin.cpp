// view_origin.cpp -- where the play field looks into the world, and when the view scrolls
#include "map.h"

int view_tx = START_VIEW_TX; // tile x at the play field's left edge, before the offset
int view_ty = START_VIEW_TY; // tile y at the play field's top edge, before the offset
int scroll_px = 0;              // sub-tile offset on x; positive moves the world left
int scroll_py = 0;              // sub-tile offset on y; positive moves the world up
int scroll_right_edge = 148;    // player x beyond which the view scrolls right
int scroll_left_edge = 80;      // player x below which the view scrolls left
int scroll_top_edge = 96;       // player y below which the view scrolls up
int scroll_bottom_edge = 128;   // player y beyond which the view scrolls down
