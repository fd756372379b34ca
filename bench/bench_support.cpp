// bench_support.cpp -- a headless Allegro and a bare world for the benchmarks
#include "bench_support.h"
#include "bare_world.h"
#include "map.h"
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

void bench_world(int w, int h, int fill) {
    start_bench_headless();
    bare_world(w, h, fill);
}
