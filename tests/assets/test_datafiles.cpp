// test_datafiles.cpp -- the datafiles the build packed: layout, fidelity to their sources, art rules, sound, tune
#include "assets.h"
#include "font_text.h"
#include <gtest/gtest.h>
#include <allegro.h>
#include <algorithm>
#include <cerrno>
#include <set>
#include <string>

static DATAFILE *files[3]; // data.dat, guy.dat, monster.dat as the build made them

class AssetsDatafiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        install_allegro(SYSTEM_NONE, &errno, atexit);
        set_color_depth(8); // keep the 8-bit pictures unconverted
        const char *names[3] = {"data.dat", "guy.dat", "monster.dat"};
        for (int i = 0; i < 3; i++)
            files[i] = load_datafile((std::string(LAMPLIGHT_GAME_DIR) + "/" + names[i]).c_str());
    }
    void SetUp() override {
        for (DATAFILE *f : files)
            ASSERT_NE(f, nullptr) << "a datafile in " << LAMPLIGHT_GAME_DIR << " did not load";
    }
};

// The pixels of the w x h part of b at (x, y), row by row.
static std::string pixels(BITMAP *b, int x, int y, int w, int h) {
    std::string all;
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++)
            all += (char)getpixel(b, x + i, y + j);
    return all;
}

// Every pixel of bitmap entry i of files[file].
static std::string pixels(int file, int i) {
    BITMAP *b = (BITMAP *)files[file][i].dat;
    return pixels(b, 0, 0, b->w, b->h);
}

// A sprite is transparent in its four corners and not (nearly) empty; a
// tile holds no colour 0, which the player's probe takes for open floor.
static void expect_sprite(BITMAP *b, int w, int h) {
    std::string all = pixels(b, 0, 0, b->w, b->h);
    int n = (int)all.size(), zeros = (int)std::count(all.begin(), all.end(), 0);
    EXPECT_TRUE(b->w == w && b->h == h) << b->w << "x" << b->h;
    EXPECT_TRUE(!all[0] && !all[w - 1] && !all[n - w] && !all[n - 1] && n - zeros > n / 8);
}

// Each file passes the game's own check of its entries; the art keeps the
// rules of colour 0 at the sizes the game's tables give, and no two player
// frames or monster kinds look the same.
TEST_F(AssetsDatafiles, EveryFilePassesTheGamesCheckAndTheArtUsesColourZeroAsDrawn) {
    char why[200];
    for (int i = 0; i < 3; i++)
        EXPECT_TRUE(check_datafile(files[i], i, why, sizeof why)) << i << ": " << why;
    for (int t = 0; t <= 74; t++) {
        std::string tile = pixels(0, TERRAIN_ART_BASE + t);
        EXPECT_TRUE(tile.size() == 256 && std::count(tile.begin(), tile.end(), 0) == 0) << "terrain " << t;
    }
    for (int o = 1; o <= MAX_OBJECT_CODE; o++)
        expect_sprite((BITMAP *)files[0][object_kind(o)->art_entry].dat, 16, 16);
    std::set<std::string> kinds, frames;
    for (int k = 1; k <= MAX_MONSTER_KIND; k++) {
        expect_sprite((BITMAP *)files[2][MONSTER_KINDS[k].art_entry].dat, MONSTER_KINDS[k].width, MONSTER_KINDS[k].height);
        kinds.insert(pixels(2, MONSTER_KINDS[k].art_entry));
    }
    for (int f = 1; f <= 16; f++) {
        expect_sprite((BITMAP *)files[1][f].dat, 24, 32);
        frames.insert(pixels(1, f));
    }
    EXPECT_EQ(kinds.size(), 14u);
    EXPECT_EQ(frames.size(), 16u);
}

TEST_F(AssetsDatafiles, SheetCellsLandAtTheirIndicesInTheGamePalette) {
    RGB *packed = (RGB *)files[0][GAME_PALETTE].dat;
    // terrain code t is cell t of the 15-wide sheet, object o cell o - 1 of the 7-wide one
    struct Sheet { const char *file; int across, first, count; };
    for (Sheet s : {Sheet{"tiles.pcx", 15, TERRAIN_ART_BASE, 75}, Sheet{"objects.pcx", 7, OBJECT_ART_BASE + 1, 14}}) {
        PALETTE pal;
        BITMAP *sheet = load_pcx((std::string(LAMPLIGHT_ASSETS_DIR "/") + s.file).c_str(), pal);
        ASSERT_NE(sheet, nullptr) << s.file;
        for (int i = 0; i < s.count; i++)
            EXPECT_TRUE(pixels(0, s.first + i) == pixels(sheet, i % s.across * 16, i / s.across * 16, 16, 16))
                << s.file << " cell " << i;
        for (int c = 0; c < 256; c++) // the art is drawn in the game palette
            EXPECT_TRUE(packed[c].r == pal[c].r && packed[c].g == pal[c].g && packed[c].b == pal[c].b)
                << s.file << " colour " << c;
        destroy_bitmap(sheet);
    }
}

static int brightness(const RGB &c) {
    return c.r * 30 + c.g * 59 + c.b * 11; // 0..6300
}

TEST_F(AssetsDatafiles, PaletteStartsBlackAndFadesSmoothly) {
    RGB *pal = (RGB *)files[0][GAME_PALETTE].dat;
    EXPECT_EQ(pal[0].r + pal[0].g + pal[0].b, 0);
    static RGB_MAP rgb;
    static COLOR_MAP light;
    create_rgb_table(&rgb, pal, nullptr);
    rgb_map = &rgb;
    create_light_table(&light, pal, 0, 0, 0, nullptr);
    // under the lamp a colour stays near its ideal fade (its brightness times
    // the light level) all the way to black, with no jump in brightness
    for (int c = 1; c < 256; c++) {
        int worst = 0;
        for (int level = 0; level < 256; level++)
            worst = std::max(worst, std::abs(brightness(pal[light.data[level][c]]) - brightness(pal[c]) * level / 255));
        EXPECT_LE(worst, 6300 / 10) << "colour " << c << " strays from its ideal fade";
    }
}

// Peak distance from silence (128) of an 8-bit sample over [from, to).
static int peak(const SAMPLE *s, unsigned long from, unsigned long to) {
    int most = 0;
    for (unsigned long i = from; i < to; i++)
        most = std::max(most, std::abs(((const unsigned char *)s->data)[i] - 128));
    return most;
}

TEST_F(AssetsDatafiles, PickupAndExplosionAreAudibleAndDieAway) {
    for (int n : {PICKUP_SOUND, EXPLOSION_SOUND}) {
        const SAMPLE *s = (const SAMPLE *)files[0][SAMPLE_BASE + n].dat;
        ASSERT_GT(s->len, (unsigned long)s->freq / 10) << "effect " << n << " is too short to hear";
        EXPECT_GT(peak(s, 0, s->len / 4), 40) << "effect " << n << " is nearly silent";
        EXPECT_LT(peak(s, s->len * 9 / 10, s->len), peak(s, 0, s->len / 4) / 3) << "effect " << n << " ends abruptly";
    }
}

// Reads a MIDI variable-length number at p.
static unsigned read_varlen(const unsigned char *&p) {
    unsigned v = 0;
    while (*p & 0x80)
        v = (v << 7) | (*p++ & 0x7F);
    return (v << 7) | *p++;
}

// The tick of a track's end-of-track event; 0 when it has none.
static unsigned track_end(const unsigned char *p, const unsigned char *end) {
    unsigned tick = 0;
    for (int status = 0; p < end;) {
        tick += read_varlen(p);
        if (*p & 0x80)
            status = *p++;
        if (status == 0xFF && *p++ == 0x2F) // a meta event starts with its type
            return tick;
        if (status >= 0xF0) // sysex or meta: a length, then data
            p += read_varlen(p);
        else // program change and channel pressure carry one data byte, the rest two
            p += (status & 0xE0) == 0xC0 ? 1 : 2;
    }
    return 0;
}

TEST_F(AssetsDatafiles, TuneEndsOnABarLineInEveryTrack) {
    const MIDI *m = (const MIDI *)files[0][MUSIC].dat;
    std::multiset<unsigned> ends;
    for (int t = 0; t < MIDI_TRACKS; t++)
        if (m->track[t].len > 0)
            ends.insert(track_end(m->track[t].data, m->track[t].data + m->track[t].len));
    ASSERT_GE(ends.size(), 2u) << "the tune lost its instruments";
    EXPECT_EQ(ends.count(*ends.begin()), ends.size()) << "tracks end at different ticks: the loop would stumble";
    EXPECT_TRUE(*ends.begin() > 0 && *ends.begin() % (4 * m->divisions) == 0) << "the tune does not end on a bar line";
}

TEST_F(AssetsDatafiles, CountersAreLegibleOnThePanel) {
    FONT *f = (FONT *)files[0][PANEL_FONT].dat;
    BITMAP *panel = (BITMAP *)files[0][PANEL_ART].dat;
    RGB *pal = (RGB *)files[0][GAME_PALETTE].dat;
    // the counters draw as the font's text form does, every glyph with some ink
    TextFont source;
    std::string error, text = "SCORE:0123456789 HP BM AW!";
    ASSERT_TRUE(read_text_font(LAMPLIGHT_ASSETS_DIR "/font.txt", source, error)) << error;
    BITMAP *b = create_bitmap_ex(8, 240, 32); // the packed font above, the text form below
    clear_bitmap(b);
    textout_ex(b, f, text.c_str(), 0, 0, 7, -1);
    draw_text_font(b, source, text.c_str(), 0, 16, 7);
    EXPECT_TRUE(pixels(b, 0, 0, 240, 16) == pixels(b, 0, 16, 240, 16));
    destroy_bitmap(b);
    for (char c : std::string("SCOREHPBM:0123456789")) {
        int ink = 0;
        for (const std::string &row : source.glyphs[c - source.glyphs[0].code].rows)
            ink += std::count(row.begin(), row.end(), '#');
        EXPECT_GT(ink, 2) << "'" << c << "' draws (almost) nothing";
    }
    // the widest likely counter fits on its plate, and the plate is light wherever the colour-0 text falls
    int w = text_length(f, "SCORE:999999"), h = text_height(f);
    EXPECT_LE(w, 70);
    for (int top : {10, 40, 70})
        for (int y = top; y < top + h; y++)
            for (int x = 40 - w / 2; x < 40 + w / 2; x++)
                EXPECT_GT(brightness(pal[getpixel(panel, x, y)]), 3500) << "panel pixel " << x << "," << y;
}
