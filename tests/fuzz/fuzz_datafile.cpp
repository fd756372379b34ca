// fuzz_datafile.cpp -- libFuzzer target: whatever the datafile check accepts,
// Allegro's load_datafile must load without crashing
#include "assets.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
    static char path[64];
    static bool started = false;
    if (!started) {
        install_allegro(SYSTEM_NONE, &errno, atexit);
        set_color_depth(8);
        snprintf(path, sizeof path, "/tmp/lamplight_fuzz_%d.dat", (int)getpid());
        started = true;
    }
    char why[160];
    if (!check_datafile_bytes(data, (long)size, why, sizeof why))
        return 0;
    PACKFILE *f = pack_fopen(path, F_WRITE_NOPACK);
    if (!f)
        return 0;
    pack_fwrite(data, (long)size, f);
    pack_fclose(f);
    DATAFILE *d = load_datafile(path);
    if (d)
        unload_datafile(d);
    return 0;
}
