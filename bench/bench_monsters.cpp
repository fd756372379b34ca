// bench_monsters.cpp -- the cost of one frame of monster movement in a full room
#include "bench_support.h"
#include "map.h"
#include "monsters.h"
#include "player.h"
#include "view.h"
#include <benchmark/benchmark.h>

// An open room of floor round the start view, 100 markers of `kind` on a
// 10 x 10 block of tiles `spacing` apart, and the player in the middle of them.
static void full_room(int kind, int spacing) {
    bench_world(300, 320, CODE_FLOOR);
    rectfill(terrain_layer, 30, 120, 200, 290, CODE_BOUNDARY);
    rectfill(terrain_layer, 31, 121, 199, 289, CODE_FLOOR);
    room_left = 30, room_right = 200, room_top = 120, room_bottom = 290;
    for (int i = 0; i < 10; i++)
        for (int j = 0; j < 10; j++)
            putpixel(monster_layer, view_tx + i * spacing, view_ty + j * spacing, kind);
    player_x = 5 * spacing * 16;
    player_y = 5 * spacing * 16;
}

// One update_monsters from the freshly spawned room; the room is spawned again
// (untimed) before every call so that each call sees the same start.
static void run_frames(benchmark::State &state) {
    for (auto _ : state) {
        state.PauseTiming();
        spawn_monsters();
        player_hp = 20000;
        state.ResumeTiming();
        update_monsters();
    }
}

// 100 large chasers packed one tile apart: every box overlaps many others, so
// every step tests 130 or 82 terrain pixels and all 99 other monsters.
static void BM_UpdateMonstersPackedLargeChasers(benchmark::State &state) {
    full_room(KIND_LARGE_CHASER, 1);
    run_frames(state);
}
BENCHMARK(BM_UpdateMonstersPackedLargeChasers)->Unit(benchmark::kMicrosecond);

// 100 small chasers two tiles apart, free to close in on the player.
static void BM_UpdateMonstersSmallChasers(benchmark::State &state) {
    full_room(2, 2);
    run_frames(state);
}
BENCHMARK(BM_UpdateMonstersSmallChasers)->Unit(benchmark::kMicrosecond);
