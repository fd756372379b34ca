// bench_frame.cpp -- the cost of one whole game frame and of start-up, on the
// real datafiles and the default world of the run folder (no graphics mode:
// a memory bitmap stands in for the screen; the frame's 60 ms sleep is left out)
#include <benchmark/benchmark.h>
#include "bench_support.h"
#include "assets.h"
#include "map.h"
#include "monsters.h"
#include "player.h"
#include "shell.h"
#include "view.h"
#include "weapons.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

// The run folder of the build; the bench program is given it by CMake.
#ifndef LAMPLIGHT_GAME_DIR
#define LAMPLIGHT_GAME_DIR "game"
#endif

namespace {

// Start-up without the graphics mode: what main does between the sound and
// the first frame (buffers sized as the 320x240 screen).
void start_up_headless() {
    // The progress line goes to /dev/null, the benchmark's report to stdout.
    fflush(stdout);
    int saved = dup(1), null_fd = open("/dev/null", O_WRONLY);
    dup2(null_fd, 1);
    int status = load_game_files();
    fflush(stdout);
    dup2(saved, 1);
    close(saved);
    close(null_fd);
    if (status != 0)
        abort();
    create_buffers();
    view_tx = START_VIEW_TX;
    view_ty = START_VIEW_TY;
    scroll_px = scroll_py = 0;
    enter_first_room();
}

void enter_game_folder() {
    static bool done = false;
    if (done)
        return;
    done = true;
    start_bench_headless();
    if (chdir(LAMPLIGHT_GAME_DIR) != 0)
        abort();
    screen = create_bitmap(320, 240);
}

void BM_StartUpToFirstFrame(benchmark::State &state) {
    enter_game_folder();
    for (auto _ : state) {
        start_up_headless();
        frame_update_and_draw();
        state.PauseTiming();
        shutdown_game();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpToFirstFrame)->Unit(benchmark::kMillisecond);

// The worst case: 100 kind-1 monsters, 1000 shots in flight, a dark room
// with the lamp, the player ghost walking.
void load_worst_case(Monster *saved_monsters, Shot *saved_shots) {
    monster_count = MAX_MONSTERS;
    for (int i = 0; i < MAX_MONSTERS; i++)
        monsters[i] = Monster{1, (i % 10) * 20 - 40, (i / 10) * 20 - 40, 0, 0, 82, 130, 1, 500};
    for (int i = 0; i < MAX_SHOTS; i++)
        shots[i] = Shot{(i * 7) % 240, (i * 13) % 240, 2 + (i % 2), 1};
    putpixel(terrain_layer, view_tx + 7, view_ty + 7, 53);
    has_lamp = has_ghost = 1;
    key[KEY_LCONTROL] = 1;
    player_hp = 1 << 30; // the monsters must not end the game
    memcpy(saved_monsters, monsters, sizeof monsters);
    memcpy(saved_shots, shots, sizeof shots);
}

void BM_GameFrame(benchmark::State &state) {
    enter_game_folder();
    start_up_headless();
    static Monster saved_monsters[MAX_MONSTERS];
    static Shot saved_shots[MAX_SHOTS];
    bool worst = state.range(0) == 1;
    if (worst)
        load_worst_case(saved_monsters, saved_shots);
    int player_start_x = player_x, player_start_y = player_y;
    for (auto _ : state) {
        if (worst) { // restore the crowd, which moves, dies and flies away
            memcpy(monsters, saved_monsters, sizeof monsters);
            memcpy(shots, saved_shots, sizeof shots);
        }
        player_x = player_start_x;
        player_y = player_start_y;
        frame_update_and_draw();
    }
    key[KEY_LCONTROL] = 0;
    has_lamp = has_ghost = 0;
    shutdown_game();
}
BENCHMARK(BM_GameFrame)->ArgName("worst")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
