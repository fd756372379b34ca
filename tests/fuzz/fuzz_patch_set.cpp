// fuzz_patch_set.cpp -- libFuzzer target over the patch-set check: any bytes
// are walked without reading outside them, and a whole check's verdict does
// not depend on what lies past the file's end
#include "assets.h"
#include <cerrno>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
    static bool started = false;
    if (!started) {
        install_allegro(SYSTEM_NONE, &errno, atexit);
        started = true;
    }
    // A private copy of exactly `size` bytes: AddressSanitizer catches any
    // read past them.
    std::vector<unsigned char> bytes(data, data + size);
    char why[200];
    check_patch_set_bytes(bytes.data(), (long)bytes.size(), why, sizeof why);
    return 0;
}
