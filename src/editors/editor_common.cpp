// editor_common.cpp -- what the three editors share: reload, mouse target, brush and arrow keys
#include "editors.h"
#include "map.h"
#include "view.h"
#include <cstdio>
#include <cstring>

// Says why the file was not taken. A file that is not there loses nothing
// when the layer in memory is saved in its place; one that is there (another
// world's layer, say, written while the game runs) is left alone.
static void refuse_reload(int layer, const char *why) {
    const char *file = layer_file_name(layer);
    FileStamp now = stamp_of_file(file);
    if (now.size == FILE_ABSENT) {
        layer_stamps[layer] = now;
        fprintf(stderr, "%s: not reloaded (%s); editing the layer in memory\n", file, why);
    } else {
        snprintf(editor_refusal, sizeof editor_refusal, "%s", why);
        fprintf(stderr, "%s: not reloaded (%s); the editor leaves the file as it is\n", file, why);
    }
}

bool reload_layer(int layer) {
    BITMAP **slot = layer_slot(layer);
    if (!slot)
        return false;
    const char *file = layer_file_name(layer);
    // The palette is taken only from a layer that is kept.
    PALETTE file_palette;
    BITMAP *fresh = load_layer(file, file_palette);
    char why[256];
    snprintf(why, sizeof why, "%s", layer_error);
    if (fresh && !layer_fits_world(layer, fresh, why, sizeof why)) {
        destroy_bitmap(fresh);
        fresh = nullptr;
    }
    if (!fresh) {
        // The same rules as at start-up: a layer the game would refuse is
        // not taken.
        refuse_reload(layer, why);
        return false;
    }
    layer_stamps[layer] = last_layer_stamp;
    memcpy(palette, file_palette, sizeof(PALETTE));
    if (*slot)
        destroy_bitmap(*slot);
    *slot = fresh;
    return true;
}

void editor_target_tile(int *tx, int *ty) {
    int x, y;
    frame_mouse(&x, &y);
    *tx = pixel_to_tile(view_tx, scroll_px, x);
    *ty = pixel_to_tile(view_ty, scroll_py, y);
}

void wait_for_esc_release() {
    while (key[KEY_ESC]) {
        if (keyboard_needs_poll())
            poll_keyboard();
    }
}

bool pointer_tile_moved() {
    static int last_tx = -1000000, last_ty = -1000000;
    int tx, ty;
    editor_target_tile(&tx, &ty);
    bool moved = tx != last_tx || ty != last_ty;
    last_tx = tx;
    last_ty = ty;
    return moved;
}

void editor_brush_keys(int *brush, int low, int high, void (*changed)()) {
    static const int steps[2][2] = {{KEY_Q, -1}, {KEY_W, 1}};
    for (const int *s : steps) {
        if (!key[s[0]])
            continue;
        *brush += s[1];
        // Q minds only the low bound and W the high one: Q steps down from
        // a shortcut's brush above the range (87) one at a time.
        if (s[1] < 0 && *brush < low)
            *brush = low;
        if (s[1] > 0 && *brush > high)
            *brush = high;
        if (changed)
            changed();
        rest(150);
    }
}

void editor_arrow_keys(void (*moved)()) {
    for (const DirectionRule &d : DIRECTION_RULES) {
        if (!key[d.arrow_key])
            continue;
        view_tx += d.dx;
        view_ty += d.dy;
        if (moved)
            moved();
        rest(50);
    }
}
