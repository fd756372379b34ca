// fuzz_datafile.cpp -- libFuzzer target over the game's datafile path: the
// check, then the library's load_datafile of whatever passed, must never
// crash, and a file that passed must load
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
    PACKFILE *f = pack_fopen(path, F_WRITE_NOPACK);
    if (!f)
        return 0;
    pack_fwrite(data, (long)size, f);
    pack_fclose(f);
    char why[200];
    bool passed = check_datafile_bytes(data, (long)size, why, sizeof why);
    DATAFILE *d = load_checked_datafile_file(path, why, sizeof why);
    if (passed != (d != nullptr))
        abort();
    if (d)
        unload_datafile(d);
    return 0;
}
