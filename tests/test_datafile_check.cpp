// test_datafile_check.cpp -- damaged datafiles are refused before Allegro loads them
#include <gtest/gtest.h>
#include "test_support.h"
#include "assets.h"
#include "datafile_bytes.h"
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The stream as the packfile layer hands it over: a bitmap, a palette, a
// sample, a one-range mono font and a tune with one track.
std::vector<unsigned char> small_datafile() {
    std::vector<unsigned char> b, bmp, pal(1024, 7), samp, font, midi;
    put16(bmp, 8); put16(bmp, 3); put16(bmp, 2);
    bmp.insert(bmp.end(), 6, 9);
    put16(samp, 8); put16(samp, 11025); put32(samp, 5);
    samp.insert(samp.end(), 5, 128);
    put16(font, 0); put16(font, 1); font.push_back(1); put32(font, 65); put32(font, 66);
    for (int g = 0; g < 2; g++) {
        put16(font, 9); put16(font, 2);
        font.insert(font.end(), 4, 0xF0);
    }
    put16(midi, 96);
    for (int t = 0; t < 32; t++) {
        put32(midi, t == 0 ? 4 : 0);
        if (t == 0)
            midi.insert(midi.end(), {0x00, 0xFF, 0x2F, 0x00});
    }
    put32(b, DAT_MAGIC);
    put32(b, 5);
    put_named(b, "one", DAT_BITMAP, bmp);
    put_named(b, "one", DAT_PALETTE, pal);
    put_named(b, "one", DAT_SAMPLE, samp);
    put_named(b, "one", DAT_FONT, font);
    put_named(b, "one", DAT_MIDI, midi);
    return b;
}

} // namespace

// Each damage is refused in its own words: the stream cut anywhere, contents
// larger than their object, a count the file cannot hold, no magic, a type
// that is no four characters, datafiles nested too deeply or damaged inside,
// a packed size past what the game loads, and the sprite types the game does
// not load (the smallest such file, and a sound datafile with one retyped).
TEST(DatafileCheck, EachDamageIsRefusedInItsOwnWords) {
    start_headless();
    const Bytes b = small_datafile();
    char why[200];
    ASSERT_TRUE(check_datafile_bytes(b.data(), (long)b.size(), why, sizeof why)) << why;
    int accepted = 0;
    for (size_t n = 0; n < b.size(); n++)
        accepted += check_datafile_bytes(b.data(), (long)n, why, sizeof why);
    EXPECT_EQ(accepted, 0) << "a truncation passed";
    auto changed = [&](size_t at, std::initializer_list<unsigned char> bytes) {
        Bytes c = b;
        std::copy(bytes.begin(), bytes.end(), c.begin() + at);
        return c;
    };
    auto one_object = [](long type, long stored, long size, const Bytes &body) {
        Bytes d;
        put32(d, DAT_MAGIC);
        put32(d, 1);
        put32(d, type);
        put32(d, stored);
        put32(d, size);
        d.insert(d.end(), body.begin(), body.end());
        return d;
    };
    // Datafiles nested `depth` deep, the innermost empty.
    auto nested = [&](int depth) {
        Bytes body;
        put32(body, 0);
        for (int i = 1; i < depth; i++) {
            Bytes outer;
            put32(outer, 1);
            put_named(outer, "one", DAT_FILE, body);
            body = outer;
        }
        return one_object(DAT_FILE, (long)body.size(), (long)body.size(), body);
    };
    Bytes count_only;
    put32(count_only, 5);
    const size_t bmp_at = 8 + 15 + 12, pal_type_at = 8 + (15 + 12 + 12) + 15; // after magic, count, property
    const struct { const char *what; Bytes bytes; std::string why; } cases[] = {
        {"a byte short", Bytes(b.begin(), b.end() - 1), "damaged or truncated datafile (entry 4 does not fit)"},
        {"a 3 x 200 bitmap in 12 bytes", changed(bmp_at + 4, {0, 200}), "damaged or truncated datafile (entry 0 does not fit)"},
        {"more objects than the file holds", changed(4, {0x7f}), "damaged or truncated datafile"},
        {"seven bytes", Bytes(b.begin(), b.begin() + 7), "damaged or truncated datafile"},
        {"no magic", changed(0, {'X'}), "not an Allegro datafile"},
        {"a type of no characters", changed(bmp_at - 12, {1, 2, 3, 4}), "damaged or truncated datafile (entry 0 has no valid type)"},
        {"datafiles 8 deep", nested(8), ""},
        {"datafiles 9 deep", nested(9), "damaged or truncated datafile (entry 0 holds a damaged datafile)"},
        {"a damaged datafile inside", one_object(DAT_FILE, 4, 4, count_only),
         "damaged or truncated datafile (entry 0 holds a damaged datafile)"},
        {"a packed size past 64 MB", one_object(DAT_BITMAP, 0, -MAX_DATAFILE_BYTES - 1, {}),
         "damaged or truncated datafile (entry 0 unpacks to more than this game loads)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        strcpy(why, "");
        EXPECT_EQ(check_datafile_bytes(c.bytes.data(), (long)c.bytes.size(), why, sizeof why), c.why.empty());
        EXPECT_EQ(why, c.why);
    }
    const struct { long type; const char *what; } sprites[] = {
        {DAT_C_SPRITE, "a compiled sprite"}, {DAT_XC_SPRITE, "a mode-X compiled sprite"}, {DAT_RLE_SPRITE, "an RLE sprite"}};
    for (const auto &c : sprites) {
        SCOPED_TRACE(c.what);
        const std::string refusal = std::string(" is ") + c.what + ", which this game does not load (store it as a bitmap)";
        Bytes smallest = one_object(c.type, 0, 0, {}), retyped = b;
        for (int i = 0; i < 4; i++)
            retyped[pal_type_at + i] = (unsigned char)(c.type >> (24 - 8 * i));
        EXPECT_FALSE(check_datafile_bytes(smallest.data(), (long)smallest.size(), why, sizeof why));
        EXPECT_EQ(why, "entry 0" + refusal);
        EXPECT_FALSE(check_datafile_bytes(retyped.data(), (long)retyped.size(), why, sizeof why));
        EXPECT_EQ(why, "entry 1" + refusal);
    }
}

// A file that passes loads with Allegro; a file without the packfile magic,
// and one larger than the limit, are refused in their own words.
TEST(DatafileCheck, AFileThatPassesLoadsWithAllegro) {
    start_headless();
    std::vector<unsigned char> b = small_datafile();
    std::string dir = temp_dir(), file = dir + "/check.dat", big = dir + "/big.dat";
    for (const std::string &name : {file, big}) {
        PACKFILE *f = pack_fopen(name.c_str(), F_WRITE_NOPACK);
        ASSERT_NE(f, nullptr);
        pack_fwrite(b.data(), (long)b.size(), f);
        for (long i = 0; name == big && i < (1L << 20); i++)
            pack_putc(0, f);
        pack_fclose(f);
    }
    char why[160];
    ASSERT_TRUE(check_datafile_file(file.c_str(), why, sizeof why)) << why;
    DATAFILE *d = load_datafile(file.c_str());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d[0].type, DAT_BITMAP);
    EXPECT_EQ(((BITMAP *)d[0].dat)->w, 3);
    EXPECT_EQ(d[3].type, DAT_FONT);
    EXPECT_EQ(d[5].type, DAT_END);
    unload_datafile(d);
    std::vector<unsigned char> bytes;
    EXPECT_FALSE(read_unpacked_datafile(big.c_str(), bytes, why, sizeof why, 1L << 20));
    EXPECT_STREQ(why, "too large to be a datafile of this game (1 MB at most)");
    FILE *text = fopen(file.c_str(), "w");
    fputs("hello, world\n", text);
    fclose(text);
    EXPECT_FALSE(check_datafile_file(file.c_str(), why, sizeof why));
    EXPECT_STREQ(why, "not an Allegro datafile");
}

// An entry packed on its own, written by Allegro's own packer, passes and
// loads; the same file with its packed bytes damaged is refused.
TEST(DatafileCheck, EntriesPackedOnTheirOwnAreUnpackedAndWalked) {
    start_headless();
    std::string file = temp_dir() + "/packed.dat";
    PACKFILE *f = pack_fopen(file.c_str(), F_WRITE_NOPACK);
    ASSERT_NE(f, nullptr);
    pack_mputl(DAT_MAGIC, f);
    pack_mputl(1, f);
    pack_mputl(DAT_BITMAP, f);
    PACKFILE *chunk = pack_fopen_chunk(f, TRUE);
    ASSERT_NE(chunk, nullptr);
    pack_mputw(8, chunk);
    pack_mputw(40, chunk);
    pack_mputw(30, chunk);
    for (int i = 0; i < 40 * 30; i++)
        pack_putc((i / 7) % 5 + 1, chunk);
    f = pack_fclose_chunk(chunk);
    pack_fclose(f);
    char why[200] = "";
    ASSERT_TRUE(check_datafile_file(file.c_str(), why, sizeof why)) << why;
    DATAFILE *d = load_checked_datafile_file(file.c_str(), why, sizeof why);
    ASSERT_NE(d, nullptr) << why;
    BITMAP *bmp = (BITMAP *)d[0].dat;
    ASSERT_EQ(bmp->w, 40);
    EXPECT_EQ(getpixel(bmp, 39, 29), (1199 / 7) % 5 + 1);
    unload_datafile(d);

    std::vector<unsigned char> bytes = file_bytes(file);
    ASSERT_GT(bytes.size(), 40u);
    for (size_t cut : {bytes.size() - 1, bytes.size() - 10, (size_t)30}) {
        SCOPED_TRACE("cut to " + std::to_string(cut));
        std::vector<unsigned char> damaged(bytes.begin() + 4, bytes.begin() + cut); // without "slh."
        EXPECT_FALSE(check_datafile_bytes(damaged.data(), (long)damaged.size(), why, sizeof why));
    }
    std::vector<unsigned char> long_claim(bytes.begin() + 4, bytes.end());
    long_claim[8 + 4 + 4 + 4] ^= 0x40; // the unpacked size, far larger than the packed bytes give
    EXPECT_FALSE(check_datafile_bytes(long_claim.data(), (long)long_claim.size(), why, sizeof why));
    EXPECT_STREQ(why, "damaged or truncated datafile (entry 0 has damaged packed data)");
}
