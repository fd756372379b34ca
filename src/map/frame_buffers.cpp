// frame_buffers.cpp -- the bitmaps every frame is composed in, and the colour tables drawing uses
#include "map.h"

BITMAP *back_buffer;   // every frame is composed here
BITMAP *dark_buffer;   // dark frames are composed here
RGB_MAP rgb_table;     // nearest-colour lookup for the game palette
COLOR_MAP trans_table; // the game palette blended half and half (the ghost)
