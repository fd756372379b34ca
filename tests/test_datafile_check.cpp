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
    std::string file = "/tmp/lamplight_check_" + std::to_string(getpid()) + ".dat";
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
