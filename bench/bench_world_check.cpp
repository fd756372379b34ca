// bench_world_check.cpp -- lamplight-world check, reach proof included: the default world and a 1024 x 1024 world of rooms
#include <benchmark/benchmark.h>
#include "bench_support.h"
#include "map.h"
#include "player.h"
#include "checks.h"
#include <string>

#ifndef LAMPLIGHT_GAME_DIR
#define LAMPLIGHT_GAME_DIR "game"
#endif

namespace {

// The default world, as the build laid it into the run folder.
World default_world() {
    start_bench_headless();
    World world;
    const char *files[3] = {"map.map", "obj.map", "mob.map"};
    for (int i = 0; i < 3; i++)
        world.layer[i] = load_layer((std::string(LAMPLIGHT_GAME_DIR) + "/" + files[i]).c_str(), palette);
    return world;
}

// Rooms of 15 x 15 tiles (walls included) side by side over the whole layer,
// the start room's grid, a two-tile door in both walls between every pair of
// neighbours, the goal in the room farthest from the start.
World room_grid(int side) {
    start_bench_headless();
    World world;
    for (BITMAP *&b : world.layer) {
        b = create_bitmap_ex(8, side, side);
        clear_to_color(b, 0);
    }
    BITMAP *t = world.layer[0];
    int last_x = 0, last_y = 0;
    for (int y0 = START_VIEW_TY % 15; y0 + 14 <= side - 2; y0 += 15)
        for (int x0 = START_VIEW_TX % 15; x0 + 14 <= side - 2; x0 += 15) {
            rectfill(t, x0 + 1, y0 + 1, x0 + 13, y0 + 13, CODE_FLOOR);
            bool right = x0 + 29 <= side - 2, down = y0 + 29 <= side - 2;
            if (right)
                rectfill(t, x0 + 14, y0 + 6, x0 + 15, y0 + 7, CODE_EXIT);
            if (down)
                rectfill(t, x0 + 6, y0 + 14, x0 + 7, y0 + 15, CODE_EXIT);
            last_x = x0;
            last_y = y0;
        }
    putpixel(world.layer[1], last_x + 7, last_y + 4, OBJECT_GOAL);
    return world;
}

void run_check(benchmark::State &state, World world) {
    for (auto _ : state) {
        WorldReport report = check_world(world);
        if (!report.problems.empty())
            state.SkipWithError(report.problems[0].c_str());
        benchmark::DoNotOptimize(report);
    }
    for (BITMAP *layer : world.layer)
        destroy_bitmap(layer);
}

void BM_CheckDefaultWorld(benchmark::State &state) { run_check(state, default_world()); }
void BM_CheckRoomGrid1024(benchmark::State &state) { run_check(state, room_grid(1024)); }

} // namespace

BENCHMARK(BM_CheckDefaultWorld)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckRoomGrid1024)->Unit(benchmark::kMillisecond)->Iterations(2);
