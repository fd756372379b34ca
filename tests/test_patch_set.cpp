// test_patch_set.cpp -- the music's patch set is checked before the library reads it
#include <gtest/gtest.h>
#include "test_support.h"
#include "assets.h"
#include "datafile_bytes.h"
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <string>
#include <vector>

namespace {

// Where the fields of a one-sample Gravis patch lie.
constexpr int INSTRUMENTS_AT = 82, LAYERS_AT = 151, SAMPLES_AT = 198, WAVE_SIZE_AT = 239 + 8;

// A Gravis patch of one instrument, one layer and `samples` samples of 6 bytes.
Bytes gus_patch(int samples) {
    Bytes p(239, 0);
    memcpy(p.data(), "GF1PATCH110\0ID#000002", 22);
    p[INSTRUMENTS_AT] = 1;
    p[LAYERS_AT] = 1;
    p[SAMPLES_AT] = (unsigned char)samples;
    for (int i = 0; i < samples; i++) {
        Bytes header(96, 0);
        header[8] = 6; // wave size, little-endian
        p.insert(p.end(), header.begin(), header.end());
        p.insert(p.end(), 6, 0x80);
    }
    return p;
}

// An object packed on its own, as pat2dat -c stores it: LZSS with every item
// a literal (a flag byte 0xFF before each eight bytes), size negative.
void put_packed(Bytes &b, const char *name, long type, const Bytes &body) {
    Bytes packed;
    for (size_t i = 0; i < body.size(); i++) {
        if (i % 8 == 0)
            packed.push_back(0xFF);
        packed.push_back(body[i]);
    }
    put_object(b, name, type, packed, -(long)body.size());
}

// A patch set as pat2dat makes it: instruments and the index "default_cfg".
Bytes patch_set(const Bytes &first_patch, bool with_index = true) {
    Bytes b, index = {'0', ' ', 'p', 'i', 'a', 'n', 'o', '\n'};
    put32(b, DAT_MAGIC);
    put32(b, with_index ? 3 : 2);
    put_named(b, "piano", DAT_ID('P', 'A', 'T', ' '), first_patch);
    if (with_index)
        put_named(b, "default_cfg", DAT_DATA, index);
    put_named(b, "strings", DAT_ID('P', 'A', 'T', ' '), gus_patch(2));
    return b;
}

bool accepted(const Bytes &b, char *why) {
    return check_patch_set_bytes(b.data(), (long)b.size(), why, 160);
}

TEST(PatchSet, WholePatchSetAcceptedEveryTruncationRefused) {
    char why[160];
    Bytes good = patch_set(gus_patch(3));
    ASSERT_TRUE(accepted(good, why)) << why;
    for (size_t n = 0; n < good.size(); n++)
        EXPECT_FALSE(check_patch_set_bytes(good.data(), (long)n, why, sizeof why)) << n << " bytes";
}

TEST(PatchSet, DamagedInstrumentOrMissingIndexRefusedWithReason) {
    struct Damage {
        const char *what;
        int at;
        unsigned char value;
    };
    const Damage damages[] = {
        {"wave longer than the patch", WAVE_SIZE_AT, 7},
        {"wave of 2 GB", WAVE_SIZE_AT + 3, 0x7f},
        {"more samples than stored", SAMPLES_AT, 4},
        {"no samples", SAMPLES_AT, 0},
        {"two instruments", INSTRUMENTS_AT, 2},
        {"two layers", LAYERS_AT, 2},
        {"not a Gravis patch", 3, 'X'},
        {"loop ends past the wave", WAVE_SIZE_AT + 8, 7},
        {"loop starts past its end", WAVE_SIZE_AT + 4, 1},
        {"loop starts before the wave", WAVE_SIZE_AT + 7, 0xff},
    };
    char why[160];
    for (const Damage &d : damages) {
        Bytes patch = gus_patch(3);
        patch[d.at] = d.value;
        EXPECT_FALSE(accepted(patch_set(patch), why)) << d.what;
        EXPECT_NE(strstr(why, "instrument \"piano\""), nullptr) << d.what << ": " << why;
    }
    EXPECT_FALSE(accepted(patch_set(gus_patch(1), false), why));
    EXPECT_NE(strstr(why, "default_cfg"), nullptr) << why;
    // Whole, but packed on its own: the library could read it, this check
    // cannot, so it is refused with the way out.
    Bytes packed = patch_set(gus_patch(1));
    packed[7] = 4; // one more object
    put_packed(packed, "flute", DAT_ID('P', 'A', 'T', ' '), gus_patch(2));
    EXPECT_FALSE(accepted(packed, why));
    EXPECT_NE(strstr(why, "\"flute\" is packed on its own"), nullptr) << why;
    // The library reads a name into 1,024 bytes: one byte short of that fits.
    for (size_t length : {1023u, 1024u, 4000u}) {
        Bytes named;
        put32(named, DAT_MAGIC);
        put32(named, 2);
        put_named(named, std::string(length, 'n').c_str(), DAT_ID('P', 'A', 'T', ' '), gus_patch(1));
        put_named(named, "default_cfg", DAT_DATA, {'0', ' ', 'n', '\n'});
        EXPECT_EQ(accepted(named, why), length < 1024) << length << ": " << why;
    }
    EXPECT_NE(strstr(why, "object 0 has a name of 4000 bytes"), nullptr) << why;
}

// The patch set the build takes from the SoundFont is one the check accepts.
TEST(PatchSet, BuiltPatchSetAccepted) {
    start_headless();
    if (!exists(LAMPLIGHT_PATCH_SET))
        GTEST_SKIP() << "no " << LAMPLIGHT_PATCH_SET << " (built without the SoundFont)";
    char why[160];
    EXPECT_TRUE(check_patch_set_file(LAMPLIGHT_PATCH_SET, why, sizeof why)) << why;
}

// A damaged patch set named by the configuration: the library is sent where
// nothing can be found, and only in memory; a named one that is not there is
// left to the library.
TEST(PatchSet, GuardPointsTheLibraryAwayFromADamagedFile) {
    start_headless();
    std::string file = temp_dir() + "/damaged-patches.dat";
    Bytes damaged = patch_set(gus_patch(3));
    damaged.resize(damaged.size() - 1);
    FILE *f = fopen(file.c_str(), "wb");
    ASSERT_TRUE(f);
    fwrite(damaged.data(), 1, damaged.size(), f);
    fclose(f);

    std::string config = "[sound]\npatches = " + temp_dir() + "/missing.dat\n";
    set_config_data(config.c_str(), (int)config.size());
    EXPECT_TRUE(guard_patch_set());
    config = "[sound]\npatches = " + file + "\n";
    set_config_data(config.c_str(), (int)config.size());
    EXPECT_FALSE(guard_patch_set());
    EXPECT_STREQ(get_config_string("sound", "patches", ""), "/dev/null/patches.dat");
    // A patch set larger than any the game's tune needs is not even read.
    char why[160];
    ASSERT_EQ(truncate(file.c_str(), MAX_PATCH_SET_BYTES + 1), 0);
    EXPECT_FALSE(check_patch_set_file(file.c_str(), why, sizeof why));
    EXPECT_NE(strstr(why, "too large"), nullptr) << why;
    override_config_data(nullptr, 0);
    set_config_data("", 0);
    remove(file.c_str());
}

} // namespace
