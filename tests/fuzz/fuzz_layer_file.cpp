// fuzz_layer_file.cpp -- libFuzzer target over the layer-file check and load
#include "map.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

// Each input is written to a private file and loaded the way the game loads
// a layer: a file the check accepts must load into a bitmap of the size its
// header gives, and a refused one must come back as NULL with a reason.
extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
    static char path[64];
    static bool started = false;
    if (!started) {
        install_allegro(SYSTEM_NONE, &errno, atexit);
        set_color_depth(8);
        snprintf(path, sizeof path, "/tmp/lamplight_fuzz_%d.map", (int)getpid());
        started = true;
    }
    FILE *f = fopen(path, "wb");
    if (!f)
        return 0;
    fwrite(data, 1, size, f);
    fclose(f);
    char why[256];
    bool accepted = check_pcx_bytes(data, (long)size, why, sizeof why);
    PALETTE pal;
    BITMAP *bmp = load_layer(path, pal);
    if (accepted != (bmp != nullptr) && !(accepted && !bmp && layer_error[0]))
        abort();
    if (!bmp && !layer_error[0])
        abort(); // a refusal always says why
    if (bmp) {
        int w = (data[8] | data[9] << 8) - (data[4] | data[5] << 8) + 1;
        int h = (data[10] | data[11] << 8) - (data[6] | data[7] << 8) + 1;
        if (bmp->w != w || bmp->h != h || bitmap_color_depth(bmp) != 8)
            abort();
        destroy_bitmap(bmp);
    }
    return 0;
}
