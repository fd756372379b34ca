// bench_support.h -- a headless Allegro and a bare world for the benchmarks
#pragma once
#include <allegro.h>

// Installs Allegro with no system driver, once per process, at 8 bits per pixel.
void start_bench_headless();

// Fresh layers of w x h tiles: terrain filled with `fill`, objects and
// monsters empty; the view at origin (66, 151) with zero offsets; the player
// reset; the monster table empty.
void bench_world(int w, int h, int fill);
