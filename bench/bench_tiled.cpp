// bench_tiled.cpp -- lamplight-world's export to a Tiled map and import back, on a world of 1024 x 1024 tiles
#include <benchmark/benchmark.h>
#include "bench_support.h"
#include "map.h"
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

#ifndef LAMPLIGHT_GAME_DIR
#define LAMPLIGHT_GAME_DIR "game"
#endif
#ifndef LAMPLIGHT_WORLD_TOOL
#define LAMPLIGHT_WORLD_TOOL "lamplight-world"
#endif

namespace {

// A folder with the datafiles and a 1024 x 1024 world of 15-tile rooms with
// doors, a coin in every room and a monster in every other, exported once.
const fs::path &big_world() {
    static fs::path dir;
    if (!dir.empty())
        return dir;
    char name[] = "/tmp/bench_tiled.XXXXXX";
    dir = mkdtemp(name);
    std::atexit([] { fs::remove_all(dir); });
    for (const char *f : {"data.dat", "monster.dat"})
        fs::copy_file(fs::path(LAMPLIGHT_GAME_DIR) / f, dir / f);
    const int SIDE = 1024;
    bench_world(SIDE, SIDE, CODE_FLOOR);
    for (int y = 0; y < SIDE; y++)
        for (int x = 0; x < SIDE; x++) {
            bool wall = x % 15 == 0 || y % 15 == 0, door = x % 15 == 7 || y % 15 == 7;
            putpixel(terrain_layer, x, y, wall ? (door ? CODE_EXIT : CODE_BOUNDARY) : CODE_FLOOR);
            putpixel(object_layer, x, y, x % 15 == 3 && y % 15 == 3 ? 1 : 0);
            putpixel(monster_layer, x, y, x % 30 == 10 && y % 15 == 10 ? 2 : 0);
        }
    PALETTE pal = {};
    for (int i = 0; i < 3; i++)
        write_layer_file((dir / LAYERS[i].file).c_str(), *LAYERS[i].bitmap, pal);
    std::system((std::string(LAMPLIGHT_WORLD_TOOL) + " -C " + dir.string() + " export-tiled map > /dev/null").c_str());
    return dir;
}

int tool(const std::string &args) {
    return std::system((std::string(LAMPLIGHT_WORLD_TOOL) + " -C " + big_world().string() + " " + args +
                        " > /dev/null 2>&1").c_str());
}

// The three layer files read, the tilesets drawn, the map written.
void BM_TiledExport1024(benchmark::State &state) {
    for (auto _ : state)
        if (tool("export-tiled map") != 0)
            state.SkipWithError("export-tiled failed");
}
BENCHMARK(BM_TiledExport1024)->Unit(benchmark::kMillisecond);

// The map read, its 3 million tiles turned into codes, every check of the
// world run, the layer files written (forced: the check finds problems in
// this world, as it would in any that large made by a loop).
void BM_TiledImport1024(benchmark::State &state) {
    for (auto _ : state)
        if (tool("import-tiled --force map/world.tmx") != 0)
            state.SkipWithError("import-tiled failed");
}
BENCHMARK(BM_TiledImport1024)->Unit(benchmark::kMillisecond);

} // namespace
