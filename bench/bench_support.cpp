// bench_support.cpp -- a headless Allegro and a bare world for the benchmarks
#include "bench_support.h"
#include "layers.h"
#include "monsters.h"
#include "player.h"
#include "view.h"
#include <cerrno>
#include <cstdlib>

void start_bench_headless() {
    static bool started = false;
    if (started)
        return;
    started = true;
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(8);
}

// A new w x h layer of one code, replacing `old`.
static BITMAP *fresh_layer(BITMAP *old, int w, int h, int fill) {
    if (old)
        destroy_bitmap(old);
    BITMAP *b = create_bitmap_ex(8, w, h);
    clear_to_color(b, fill);
    return b;
}

void bench_world(int w, int h, int fill) {
    start_bench_headless();
    terrain_layer = fresh_layer(terrain_layer, w, h, fill);
    object_layer = fresh_layer(object_layer, w, h, 0);
    monster_layer = fresh_layer(monster_layer, w, h, 0);
    view_tx = 66;
    view_ty = 151;
    scroll_px = scroll_py = 0;
    reset_player();
    monster_count = 0;
    for (Monster &m : monsters)
        m = Monster{MONSTER_DEAD, 0, 0, 0, 0, 0, 0, 0, 0};
}
