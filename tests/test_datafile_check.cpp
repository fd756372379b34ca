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

// Object bodies as the packfile layer hands them over. A bitmap of w x h
// pixels of `bits`, followed by `bytes` bytes of pixels.
Bytes bitmap_body(int bits, int w, int h, size_t bytes) {
    Bytes b;
    put16s(b, {bits, w, h});
    b.insert(b.end(), bytes, 9);
    return b;
}

Bytes sample_body(int bits, long length, size_t bytes) {
    Bytes b;
    put16s(b, {bits, 11025});
    put32(b, length);
    b.insert(b.end(), bytes, 128);
    return b;
}

// A font of the old kinds: its size word (8 or 16 rows of 95 glyphs) and
// `bytes`; size -1 is followed by 95 glyphs of 3 x 2 pixels, a byte each.
Bytes old_font(int size, size_t bytes) {
    Bytes b;
    put16s(b, {size});
    b.insert(b.end(), bytes, 0x18);
    for (int g = 0; size == -1 && g < 95; g++) {
        put16s(b, {3, 2});
        b.insert(b.end(), 6, 0x18);
    }
    return b;
}

// A font of one range, first..last, of w x h glyphs of `bytes` bytes each.
Bytes range_font(bool mono, long first, long last, int w, int h, size_t bytes) {
    Bytes b;
    put16s(b, {0, 1});
    b.push_back(mono);
    put32(b, first);
    put32(b, last);
    for (long g = first; g <= last; g++) {
        put16s(b, {w, h});
        b.insert(b.end(), bytes, 0xF0);
    }
    return b;
}

// A tune with one track.
Bytes midi_body() {
    Bytes b;
    put16s(b, {96});
    for (int t = 0; t < 32; t++) {
        put32(b, t == 0 ? 4 : 0);
        if (t == 0)
            b.insert(b.end(), {0x00, 0xFF, 0x2F, 0x00});
    }
    return b;
}

// A datafile of one object (named), stored in `body`, unpacking to `size` bytes.
Bytes one_object(long type, const Bytes &body, long size) {
    Bytes d;
    put32(d, DAT_MAGIC);
    put32(d, 1);
    put_object(d, "one", type, body, size);
    return d;
}

// A bitmap, a palette, a sample, a one-range mono font and a tune.
Bytes small_datafile() {
    Bytes b;
    put32(b, DAT_MAGIC);
    put32(b, 5);
    put_named(b, "one", DAT_BITMAP, bitmap_body(8, 3, 2, 6));
    put_named(b, "one", DAT_PALETTE, Bytes(1024, 7));
    put_named(b, "one", DAT_SAMPLE, sample_body(8, 5, 5));
    put_named(b, "one", DAT_FONT, range_font(true, 65, 66, 9, 2, 4));
    put_named(b, "one", DAT_MIDI, midi_body());
    return b;
}

} // namespace

// The contents of each type the game loads fit their object exactly: the
// sound body passes and the same body a byte short is refused; bodies no
// loader can take are refused.
TEST(DatafileCheck, ContentsMustFitTheirObject) {
    const struct { const char *what; long type; Bytes body; bool sound; } cases[] = {
        {"an 8-bit bitmap", DAT_BITMAP, bitmap_body(8, 3, 2, 6), true},
        {"a 15-bit bitmap", DAT_BITMAP, bitmap_body(15, 2, 1, 4), true},
        {"a 16-bit bitmap", DAT_BITMAP, bitmap_body(16, 2, 1, 4), true},
        {"a 24-bit bitmap", DAT_BITMAP, bitmap_body(24, 2, 1, 6), true},
        {"a 32-bit bitmap", DAT_BITMAP, bitmap_body(32, 2, 1, 8), true},
        {"a 32-bit bitmap with alpha", DAT_BITMAP, bitmap_body(-32, 2, 1, 8), true},
        {"a bitmap 0 wide", DAT_BITMAP, bitmap_body(8, 0, 5, 0), true},
        {"a bitmap 0 high", DAT_BITMAP, bitmap_body(8, 5, 0, 0), true},
        {"a 7-bit bitmap", DAT_BITMAP, bitmap_body(7, 1, 1, 1), false},
        {"a bitmap -1 wide", DAT_BITMAP, bitmap_body(8, -1, 0, 0), false},
        {"a bitmap -1 high", DAT_BITMAP, bitmap_body(8, 0, -1, 0), false},
        {"an 8-bit sample", DAT_SAMPLE, sample_body(8, 5, 5), true},
        {"a 16-bit sample", DAT_SAMPLE, sample_body(16, 2, 4), true},
        {"an 8-bit stereo sample", DAT_SAMPLE, sample_body(-8, 2, 4), true},
        {"a 16-bit stereo sample", DAT_SAMPLE, sample_body(-16, 1, 4), true},
        {"an empty sample", DAT_SAMPLE, sample_body(8, 0, 0), true},
        {"a 12-bit sample", DAT_SAMPLE, sample_body(12, 1, 2), false},
        {"a font of 8 rows", DAT_FONT, old_font(8, 95 * 8), true},
        {"a font of 16 rows", DAT_FONT, old_font(16, 95 * 16), true},
        {"a proportional font", DAT_FONT, old_font(-1, 0), true},
        {"a font of size 5", DAT_FONT, old_font(5, 0), false},
        {"mono glyphs 8 wide", DAT_FONT, range_font(true, 65, 66, 8, 2, 2), true},
        {"a mono glyph 9 wide", DAT_FONT, range_font(true, 65, 65, 9, 2, 4), true},
        {"colour glyphs", DAT_FONT, range_font(false, 65, 66, 3, 2, 6), true},
        {"a glyph 0 wide", DAT_FONT, range_font(true, 65, 65, 0, 2, 0), true},
        {"a glyph -1 wide", DAT_FONT, range_font(true, 65, 65, -1, 0, 0), false},
        {"a glyph -1 high", DAT_FONT, range_font(true, 65, 65, 0, -1, 0), false},
        {"a range that ends before it starts", DAT_FONT, range_font(true, 66, 65, 1, 1, 1), false},
        {"a palette", DAT_PALETTE, Bytes(768, 7), true},
        {"a tune", DAT_MIDI, midi_body(), true},
    };
    char why[200];
    for (const auto &c : cases)
        for (size_t short_by : {0, 1}) {
            SCOPED_TRACE(std::string(c.what) + (short_by ? ", a byte short" : ""));
            Bytes body(c.body.begin(), c.body.end() - (c.sound ? short_by : 0));
            Bytes d = one_object(c.type, body, (long)body.size());
            bool sound = c.sound && !short_by;
            EXPECT_EQ(check_datafile_bytes(d.data(), (long)d.size(), why, sizeof why), sound);
            if (!sound) {
                EXPECT_STREQ(why, "damaged or truncated datafile (entry 0 does not fit)");
            }
        }
}

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
        return one_object(DAT_FILE, body, (long)body.size());
    };
    Bytes count_only;
    put32(count_only, 5);
    const size_t bmp_at = 8 + 15 + 12, pal_type_at = 8 + (15 + 12 + 12) + 15; // after magic, count, property
    const struct { const char *what; Bytes bytes; std::string why; } cases[] = {
        {"a byte short", Bytes(b.begin(), b.end() - 1), "damaged or truncated datafile (entry 4 does not fit)"},
        {"more objects than the file holds", changed(4, {0x7f}), "damaged or truncated datafile"},
        {"seven bytes", Bytes(b.begin(), b.begin() + 7), "damaged or truncated datafile"},
        {"no magic", changed(0, {'X'}), "not an Allegro datafile"},
        {"a type of no characters", changed(bmp_at - 12, {1, 2, 3, 4}), "damaged or truncated datafile (entry 0 has no valid type)"},
        {"datafiles 8 deep", nested(8), ""},
        {"datafiles 9 deep", nested(9), "damaged or truncated datafile (entry 0 holds a damaged datafile)"},
        {"a damaged datafile inside", one_object(DAT_FILE, count_only, 4),
         "damaged or truncated datafile (entry 0 holds a damaged datafile)"},
        {"a packed size past 64 MB", one_object(DAT_BITMAP, {}, -MAX_DATAFILE_BYTES - 1),
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
        Bytes smallest = one_object(c.type, {}, 0), retyped = b;
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
