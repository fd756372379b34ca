// test_datafile_check.cpp -- damaged datafiles are refused before Allegro loads them
#include <gtest/gtest.h>
#include "test_support.h"
#include "assets.h"
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

void put32(std::vector<unsigned char> &b, long v) {
    for (int s = 24; s >= 0; s -= 8)
        b.push_back((unsigned char)(v >> s));
}
void put16(std::vector<unsigned char> &b, int v) {
    b.push_back((unsigned char)(v >> 8));
    b.push_back((unsigned char)v);
}

void put_object(std::vector<unsigned char> &b, long type, const std::vector<unsigned char> &body) {
    b.insert(b.end(), {'p', 'r', 'o', 'p', 'N', 'A', 'M', 'E'});
    put32(b, 3);
    b.insert(b.end(), {'o', 'n', 'e'});
    put32(b, type);
    put32(b, (long)body.size());
    put32(b, (long)body.size());
    b.insert(b.end(), body.begin(), body.end());
}

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
    put_object(b, DAT_BITMAP, bmp);
    put_object(b, DAT_PALETTE, pal);
    put_object(b, DAT_SAMPLE, samp);
    put_object(b, DAT_FONT, font);
    put_object(b, DAT_MIDI, midi);
    return b;
}

} // namespace

TEST(DatafileCheck, EveryTruncationIsRefused) {
    start_headless();
    std::vector<unsigned char> b = small_datafile();
    char why[160];
    ASSERT_TRUE(check_datafile_bytes(b.data(), (long)b.size(), why, sizeof why)) << why;
    int accepted = 0;
    for (size_t n = 0; n < b.size(); n++)
        accepted += check_datafile_bytes(b.data(), (long)n, why, sizeof why);
    EXPECT_EQ(accepted, 0);
    check_datafile_bytes(b.data(), (long)b.size() - 1, why, sizeof why);
    EXPECT_STREQ(why, "damaged or truncated datafile (entry 4 does not fit)");
}

TEST(DatafileCheck, ContentsMustFitTheirObject) {
    start_headless();
    std::vector<unsigned char> b = small_datafile();
    char why[160];
    // The bitmap claims 3 x 200 pixels in a 12-byte object.
    std::vector<unsigned char> tall = b;
    size_t bmp_at = 8 + 15 + 12; // magic, count, property, header
    tall[bmp_at + 4] = 0; tall[bmp_at + 5] = 200;
    EXPECT_FALSE(check_datafile_bytes(tall.data(), (long)tall.size(), why, sizeof why));
    EXPECT_STREQ(why, "damaged or truncated datafile (entry 0 does not fit)");
    // A count of objects larger than the file can hold.
    std::vector<unsigned char> many = b;
    many[4] = 0x7f;
    EXPECT_FALSE(check_datafile_bytes(many.data(), (long)many.size(), why, sizeof why));
    // Not a datafile at all.
    std::vector<unsigned char> wrong = b;
    wrong[0] = 'X';
    EXPECT_FALSE(check_datafile_bytes(wrong.data(), (long)wrong.size(), why, sizeof why));
}

TEST(DatafileCheck, AFileThatPassesLoadsWithAllegro) {
    start_headless();
    std::vector<unsigned char> b = small_datafile();
    std::string file = temp_dir() + "/check.dat";
    PACKFILE *f = pack_fopen(file.c_str(), F_WRITE_NOPACK);
    ASSERT_NE(f, nullptr);
    pack_fwrite(b.data(), (long)b.size(), f);
    pack_fclose(f);
    char why[160];
    ASSERT_TRUE(check_datafile_file(file.c_str(), why, sizeof why)) << why;
    DATAFILE *d = load_datafile(file.c_str());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d[0].type, DAT_BITMAP);
    EXPECT_EQ(((BITMAP *)d[0].dat)->w, 3);
    EXPECT_EQ(d[3].type, DAT_FONT);
    EXPECT_EQ(d[5].type, DAT_END);
    unload_datafile(d);
    EXPECT_FALSE(check_datafile_file("/tmp/no/such.dat", why, sizeof why));
    remove(file.c_str());
}

// Entry types whose loaders make Allegro free the datafile twice when they
// fail are refused by name, before the library sees them: the smallest such
// file, and a sound datafile with one entry retyped.
TEST(DatafileCheck, SpriteTypesTheGameDoesNotLoadAreRefusedByName) {
    start_headless();
    struct Case {
        long type;
        const char *what;
    } cases[] = {
        {DAT_C_SPRITE, "a compiled sprite"},
        {DAT_XC_SPRITE, "a mode-X compiled sprite"},
        {DAT_RLE_SPRITE, "an RLE sprite"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<unsigned char> smallest;
        put32(smallest, DAT_MAGIC);
        put32(smallest, 1);
        put32(smallest, c.type);
        put32(smallest, 0);
        put32(smallest, 0);
        char why[200] = "";
        EXPECT_FALSE(check_datafile_bytes(smallest.data(), (long)smallest.size(), why, sizeof why));
        EXPECT_EQ(std::string(why), std::string("entry 0 is ") + c.what +
                                        ", which this game does not load (store it as a bitmap)");
        std::vector<unsigned char> retyped = small_datafile();
        size_t pal_type_at = 8 + (15 + 12 + 12) + 15; // the palette's type, after the bitmap
        for (int i = 0; i < 4; i++)
            retyped[pal_type_at + i] = (unsigned char)(c.type >> (24 - 8 * i));
        EXPECT_FALSE(check_datafile_bytes(retyped.data(), (long)retyped.size(), why, sizeof why));
        EXPECT_EQ(std::string(why).rfind("entry 1 is " + std::string(c.what), 0), 0u) << why;
    }
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
