// editor_common.cpp -- what the three editors share: reload, mouse target, leaving on Esc
#include "editors.h"
#include "layers.h"
#include "view.h"
#include <cstdio>

// The global that holds layer 0, 1 or 2.
static BITMAP **layer_slot(int layer) {
    if (layer == 0)
        return &terrain_layer;
    if (layer == 1)
        return &object_layer;
    if (layer == 2)
        return &monster_layer;
    return nullptr;
}

bool reload_layer(int layer) {
    BITMAP **slot = layer_slot(layer);
    if (!slot)
        return false;
    const char *file = layer_file_name(layer);
    BITMAP *fresh = load_layer(file, palette);
    if (!fresh) {
        // Editing the copy in memory beats editing nothing; the save on
        // leaving then writes that copy back.
        fprintf(stderr, "%s: not reloaded (%s); editing the layer in memory\n", file, layer_error);
        return false;
    }
    if (*slot)
        destroy_bitmap(*slot);
    *slot = fresh;
    return true;
}

void editor_target_tile(int *tx, int *ty) {
    // >> on a negative int is an arithmetic shift here (gcc, clang): -1 gives
    // the tile left of (or above) the view origin.
    int x, y;
    frame_mouse(&x, &y);
    *tx = view_tx + ((x + scroll_px) >> 4);
    *ty = view_ty + ((y + scroll_py) >> 4);
}

void wait_for_esc_release() {
    while (key[KEY_ESC]) {
        if (keyboard_needs_poll())
            poll_keyboard();
    }
}
