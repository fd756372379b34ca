// patch_set.cpp -- the music's instruments (patches.dat): checked before the library reads them
//
// Allegro plays the tune through its DIGMID driver when it finds a patch set,
// "patches.dat" beside the program (made from a SoundFont by pat2dat) or in a
// few system places. The library trusts every size in that file, so the one
// it would use is checked first. When it is damaged, or when there is no
// digital sound for DIGMID to play through (install_sound would then fail),
// the library is pointed away from it for this run by an in-memory
// configuration: the music is silent, as on a machine without a patch set.
#include "assets.h"
#include "files.h"
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

// A Gravis patch as pat2dat stores it: a 129-byte file header, a 63-byte
// instrument header, a 47-byte layer header, then per sample a 96-byte
// header and its wave data.
constexpr long GUS_FILE_HEADER = 129, GUS_INSTRUMENT_HEADER = 63, GUS_LAYER_HEADER = 47;
constexpr long GUS_SAMPLE_HEADER = 96;
constexpr long GUS_INSTRUMENTS_AT = 82;                         // in the file header
constexpr long GUS_LAYERS_AT = GUS_FILE_HEADER + 22;            // in the instrument header
constexpr long GUS_SAMPLES_AT = GUS_FILE_HEADER + GUS_INSTRUMENT_HEADER + 6; // in the layer header
constexpr long GUS_WAVE_SIZE_AT = 8;                            // in a sample header
constexpr long GUS_LOOP_START_AT = 12, GUS_LOOP_END_AT = 16;    // in a sample header, in bytes
// The library reads a name property into a buffer of this many bytes with
// a terminating zero, trusting the length the file gives.
constexpr long LIBRARY_NAME_BUFFER = 1024;
const char *const GUS_MAGICS[] = {"GF1PATCH110\0ID#000002", "GF1PATCH100\0ID#000002"};
constexpr int GUS_MAGIC_BYTES = 22;

// The place the DIGMID driver is sent to when the patch set must not be read:
// /dev/null is no folder, so nothing can ever be found there.
const char POINT_AWAY[] = "[sound]\npatches = /dev/null/patches.dat\n";

// Signed 32-bit numbers, as the formats store them.
long big_endian(const unsigned char *p) {
    return (long)(int32_t)((uint32_t)p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3]);
}

long little_endian(const unsigned char *p) {
    return (long)(int32_t)((uint32_t)p[3] << 24 | p[2] << 16 | p[1] << 8 | p[0]);
}

// One top-level object of a datafile whose structure is already checked.
struct PatchObject {
    const unsigned char *body;
    long size;
    long type;
    bool packed; // packed on its own (pat2dat -c): not read here
    long longest_name; // the longest NAME property before it
    char name[32];
};

// Reads the next object at `at` (its properties, header and body).
PatchObject next_object(const unsigned char *bytes, long &at) {
    PatchObject object{nullptr, 0, 0, false, 0, ""};
    while (!memcmp(bytes + at, "prop", 4)) {
        long length = big_endian(bytes + at + 8);
        if (!memcmp(bytes + at + 4, "NAME", 4)) {
            object.longest_name = length > object.longest_name ? length : object.longest_name;
            int n = length < (long)sizeof object.name - 1 ? (int)length : (int)sizeof object.name - 1;
            memcpy(object.name, bytes + at + 12, n);
            object.name[n] = 0;
        }
        at += 12 + length;
    }
    object.type = big_endian(bytes + at);
    object.size = big_endian(bytes + at + 4);
    object.packed = big_endian(bytes + at + 8) < 0;
    object.body = bytes + at + 12;
    at += 12 + object.size;
    return object;
}

// A sample's loop lies inside its wave: the mixer walks between the loop
// points without looking at the wave's length.
bool gus_loop_fits(const unsigned char *header, long wave) {
    long start = little_endian(header + GUS_LOOP_START_AT), end = little_endian(header + GUS_LOOP_END_AT);
    return start >= 0 && start <= end && end <= wave;
}

// A Gravis patch: its magic, one instrument of one layer, and samples whose
// waves fill the object exactly and whose loops lie in their waves.
bool gus_patch_fits(const unsigned char *p, long size) {
    long samples_start = GUS_FILE_HEADER + GUS_INSTRUMENT_HEADER + GUS_LAYER_HEADER;
    if (size < samples_start)
        return false;
    if (memcmp(p, GUS_MAGICS[0], GUS_MAGIC_BYTES) && memcmp(p, GUS_MAGICS[1], GUS_MAGIC_BYTES))
        return false;
    if (p[GUS_INSTRUMENTS_AT] != 1 || p[GUS_LAYERS_AT] != 1 || p[GUS_SAMPLES_AT] == 0)
        return false;
    long at = samples_start;
    for (int i = 0; i < p[GUS_SAMPLES_AT]; i++) {
        if (size - at < GUS_SAMPLE_HEADER)
            return false;
        long wave = little_endian(p + at + GUS_WAVE_SIZE_AT);
        bool loop_fits = gus_loop_fits(p + at, wave);
        at += GUS_SAMPLE_HEADER;
        if (wave < 0 || wave > size - at || !loop_fits)
            return false;
        at += wave;
    }
    return at == size;
}

// The file the DIGMID driver would read: the configured patch set if it is a
// datafile, else the first "patches.dat" in the library's own search order.
bool find_patch_set(char *path, int path_size) {
    const char *configured = get_config_string("sound", "patches", nullptr);
    if (configured && configured[0]) {
        const char *ext = get_extension(configured);
        if (ustricmp(ext, "dat") != 0)
            return false; // a folder of Gravis patches: not ours to check
        snprintf(path, path_size, "%s", configured);
        return exists(path);
    }
    return find_allegro_resource(path, "patches.dat", nullptr, nullptr, nullptr, nullptr, nullptr, path_size) == 0;
}

// Whether any digital driver that install_sound may pick answers here.
bool digital_sound_present() {
    _DRIVER_INFO *drivers = system_driver && system_driver->digi_drivers ? system_driver->digi_drivers()
                                                                         : _digi_driver_list;
    for (int i = 0; drivers && drivers[i].id; i++)
        if (drivers[i].autodetect && detect_digi_driver(drivers[i].id) > 0)
            return true;
    return false;
}

} // namespace

bool check_patch_set_bytes(const unsigned char *bytes, long size, char *why, int why_size) {
    if (!check_datafile_bytes(bytes, size, why, why_size))
        return false;
    bool has_index = false;
    long at = 8, count = big_endian(bytes + 4);
    for (long i = 0; i < count; i++) {
        PatchObject object = next_object(bytes, at);
        if (object.longest_name >= LIBRARY_NAME_BUFFER) {
            snprintf(why, why_size, "object %ld has a name of %ld bytes (at most %ld)", i, object.longest_name,
                     LIBRARY_NAME_BUFFER - 1);
            return false;
        }
        if (object.type == DAT_ID('P', 'A', 'T', ' ') && object.packed) {
            snprintf(why, why_size, "instrument \"%s\" is packed on its own (make it without pat2dat -c)", object.name);
            return false;
        }
        if (object.type == DAT_ID('P', 'A', 'T', ' ') && !gus_patch_fits(object.body, object.size)) {
            snprintf(why, why_size, "instrument \"%s\" is not a whole Gravis patch", object.name);
            return false;
        }
        if (!strcmp(object.name, "default_cfg"))
            has_index = object.type == DAT_DATA && object.size > 0;
    }
    if (!has_index)
        snprintf(why, why_size, "no patch index (default_cfg): not made by pat2dat");
    return has_index;
}

bool check_patch_set_file(const char *file, char *why, int why_size) {
    // Opened as every input file is: a regular file only, so that a named
    // pipe in its place cannot make the game wait.
    int fd = open_input_file(file, MAX_PATCH_SET_BYTES, why, why_size);
    if (fd < 0)
        return false;
    char same_file[64];
    std::vector<unsigned char> bytes;
    bool ok = read_unpacked_datafile(reopen_name(fd, file, same_file, sizeof same_file), bytes, why, why_size,
                                     MAX_PATCH_SET_BYTES);
    close(fd);
    return ok && check_patch_set_bytes(bytes.data(), (long)bytes.size(), why, why_size);
}

bool guard_patch_set() {
    char path[1024], why[160];
    if (!find_patch_set(path, sizeof path))
        return true;
    if (check_patch_set_file(path, why, sizeof why) && digital_sound_present())
        return true;
    override_config_data(POINT_AWAY, (int)strlen(POINT_AWAY));
    return false;
}
