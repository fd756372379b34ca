// bench_present.cpp -- the cost of presenting one frame at scales 1, 3 and 6,
// beside a plain copy of the frame's bytes (the baseline of the same run)
#include "bench_support.h"
#include "view.h"
#include <benchmark/benchmark.h>
#include <cstring>

// The baseline: 320 x 240 bytes copied with memcpy.
static void BM_FrameMemcpy(benchmark::State &state) {
    const size_t bytes = FRAME_W * FRAME_H;
    unsigned char *from = new unsigned char[bytes], *to = new unsigned char[bytes];
    for (size_t i = 0; i < bytes; i++)
        from[i] = (unsigned char)(i * 7);
    for (auto _ : state) {
        benchmark::DoNotOptimize(from);
        memcpy(to, from, bytes);
        benchmark::DoNotOptimize(to);
        benchmark::ClobberMemory();
    }
    delete[] from;
    delete[] to;
}
BENCHMARK(BM_FrameMemcpy)->Unit(benchmark::kMicrosecond);

// present_region of a whole frame into a memory bitmap standing in for a
// screen of 320N x 240N.
static void BM_PresentFrame(benchmark::State &state) {
    start_bench_headless();
    int scale = (int)state.range(0);
    BITMAP *frame = create_bitmap(FRAME_W, FRAME_H);
    for (int y = 0; y < FRAME_H; y++)
        for (int x = 0; x < FRAME_W; x++)
            putpixel(frame, x, y, (x * 3 + y * 5) & 255);
    BITMAP *saved_screen = screen;
    screen = create_bitmap(FRAME_W * scale, FRAME_H * scale);
    present_scale = scale;
    present_x = present_y = 0;
    for (auto _ : state) {
        present_region(frame, 0, 0, 0, 0, FRAME_W, FRAME_H);
        benchmark::ClobberMemory();
    }
    destroy_bitmap(screen);
    screen = saved_screen;
    present_scale = 1;
    destroy_bitmap(frame);
}
BENCHMARK(BM_PresentFrame)->ArgName("scale")->Arg(1)->Arg(3)->Arg(6)->Unit(benchmark::kMicrosecond);
