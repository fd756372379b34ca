// test_datafiles.cpp -- the datafiles the build packed: layout, art rules, palette, sounds, tune
#include "assets.h"
#include <gtest/gtest.h>
#include <allegro.h>
#include <cerrno>
#include <cstdlib>
#include <set>
#include <string>

static DATAFILE *files[3]; // data.dat, guy.dat, monster.dat as the build made them

static void load_all() {
    if (files[0])
        return;
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(8); // keep the 8-bit pictures unconverted
    const char *names[3] = {"data.dat", "guy.dat", "monster.dat"};
    for (int i = 0; i < 3; i++)
        files[i] = load_datafile((std::string(LAMPLIGHT_GAME_DIR) + "/" + names[i]).c_str());
}

class AssetsDatafiles : public ::testing::Test {
protected:
    void SetUp() override {
        load_all();
        for (DATAFILE *f : files)
            ASSERT_NE(f, nullptr) << "a datafile in " << LAMPLIGHT_GAME_DIR << " did not load";
    }
};

static int count_entries(const DATAFILE *d) {
    int n = 0;
    while (d[n].type != DAT_END)
        n++;
    return n;
}

static BITMAP *bitmap_at(DATAFILE *d, int i) {
    return d[i].type == DAT_BITMAP ? (BITMAP *)d[i].dat : nullptr;
}

// The bitmap at index i has exactly the size w x h.
static void expect_bitmap(DATAFILE *d, int i, int w, int h, const char *file) {
    BITMAP *b = bitmap_at(d, i);
    ASSERT_NE(b, nullptr) << file << " entry " << i << " is not a bitmap";
    EXPECT_EQ(bitmap_color_depth(b), 8) << file << " entry " << i;
    EXPECT_EQ(b->w, w) << file << " entry " << i;
    EXPECT_EQ(b->h, h) << file << " entry " << i;
}

TEST_F(AssetsDatafiles, EveryEntrySitsAtItsCatalogueIndex) {
    EXPECT_EQ(count_entries(files[0]), 103);
    EXPECT_EQ(count_entries(files[1]), 17);
    EXPECT_EQ(count_entries(files[2]), 14);
    DATAFILE *d = files[0];
    expect_bitmap(d, PANEL_ART, 80, 240, "data.dat");
    expect_bitmap(d, BOMB_SPRITE, 16, 16, "data.dat");
    for (int e = 0; e < 3; e++)
        expect_bitmap(d, EXPLOSION_ART + e, 16, 16, "data.dat");
    BITMAP *shot = bitmap_at(d, SHOT_SPRITE);
    ASSERT_NE(shot, nullptr);
    EXPECT_LE(shot->w, 8);
    EXPECT_LE(shot->h, 8);
    EXPECT_EQ(d[PANEL_FONT].type, DAT_FONT);
    EXPECT_EQ(d[MUSIC].type, DAT_MIDI);
    EXPECT_EQ(d[GAME_PALETTE].type, DAT_PALETTE);
    for (int n = 0; n < 4; n++)
        EXPECT_EQ(d[SAMPLE_BASE + n].type, DAT_SAMPLE) << "entry " << SAMPLE_BASE + n;
    for (int i = TERRAIN_ART_BASE; i <= OBJECT_ART_BASE + 14; i++)
        expect_bitmap(d, i, 16, 16, "data.dat");
    for (int f = 0; f <= 16; f++)
        expect_bitmap(files[1], f, 24, 32, "guy.dat");
    expect_bitmap(files[2], 0, 82, 130, "monster.dat");
    for (int k = 2; k <= 14; k++)
        expect_bitmap(files[2], k - 1, 30, 20, "monster.dat");
    char why[128];
    for (int which = 0; which < 3; which++)
        EXPECT_TRUE(check_datafile(files[which], which, why, sizeof why)) << why;
}

TEST_F(AssetsDatafiles, NoTerrainTileHoldsColourZero) {
    for (int t = 0; t <= 74; t++) {
        BITMAP *tile = bitmap_at(files[0], TERRAIN_ART_BASE + t);
        ASSERT_NE(tile, nullptr);
        int zeros = 0;
        for (int y = 0; y < 16; y++)
            for (int x = 0; x < 16; x++)
                zeros += getpixel(tile, x, y) == 0;
        EXPECT_EQ(zeros, 0) << "terrain tile " << t;
    }
}

// A sprite: transparent in its four corners, and not empty.
static void expect_sprite(BITMAP *b, const std::string &what) {
    ASSERT_NE(b, nullptr) << what;
    int w = b->w - 1, h = b->h - 1, drawn = 0;
    EXPECT_EQ(getpixel(b, 0, 0), 0) << what;
    EXPECT_EQ(getpixel(b, w, 0), 0) << what;
    EXPECT_EQ(getpixel(b, 0, h), 0) << what;
    EXPECT_EQ(getpixel(b, w, h), 0) << what;
    for (int y = 0; y <= h; y++)
        for (int x = 0; x <= w; x++)
            drawn += getpixel(b, x, y) != 0;
    EXPECT_GT(drawn, (b->w * b->h) / 8) << what << " is (nearly) empty";
}

TEST_F(AssetsDatafiles, SpritesHaveTransparentBackgrounds) {
    for (int i = BOMB_SPRITE; i <= EXPLOSION_ART + 2; i++)
        expect_sprite(bitmap_at(files[0], i), "data.dat entry " + std::to_string(i));
    for (int o = 1; o <= 14; o++)
        expect_sprite(bitmap_at(files[0], OBJECT_ART_BASE + o), "object " + std::to_string(o));
    for (int f = 1; f <= 16; f++)
        expect_sprite(bitmap_at(files[1], f), "player frame " + std::to_string(f - 1));
    for (int k = 1; k <= 14; k++)
        expect_sprite(bitmap_at(files[2], k - 1), "monster kind " + std::to_string(k));
}

TEST_F(AssetsDatafiles, FramesOfOneFacingDifferAndFacingsDiffer) {
    // four walking frames per facing: no two frames of the sixteen are the same picture
    for (int a = 1; a <= 16; a++)
        for (int b = a + 1; b <= 16; b++) {
            BITMAP *fa = bitmap_at(files[1], a), *fb = bitmap_at(files[1], b);
            int differ = 0;
            for (int y = 0; y < 32; y++)
                for (int x = 0; x < 24; x++)
                    differ += getpixel(fa, x, y) != getpixel(fb, x, y);
            EXPECT_GT(differ, 0) << "player frames " << a - 1 << " and " << b - 1 << " are the same";
        }
}

static int brightness(const RGB &c) {
    return c.r * 30 + c.g * 59 + c.b * 11; // 0..6300
}

TEST_F(AssetsDatafiles, PaletteStartsBlackAndFadesSmoothly) {
    RGB *pal = (RGB *)files[0][GAME_PALETTE].dat;
    EXPECT_EQ(pal[0].r + pal[0].g + pal[0].b, 0);
    for (int c = 0; c < 256; c++)
        EXPECT_TRUE(pal[c].r <= 63 && pal[c].g <= 63 && pal[c].b <= 63) << "colour " << c;
    static RGB_MAP rgb;
    static COLOR_MAP light;
    create_rgb_table(&rgb, pal, nullptr);
    rgb_map = &rgb;
    create_light_table(&light, pal, 0, 0, 0, nullptr);
    // a colour fading out under the lamp follows the ideal fade (its own
    // brightness times the light level) closely, passing through many darker
    // shades, and ends near black (the light table never picks colour 0 itself)
    int worst = 0;
    for (int c = 1; c < 256; c++) {
        std::set<int> seen;
        for (int level = 255; level >= 0; level--) {
            int ideal = brightness(pal[c]) * level / 255;
            int now = brightness(pal[light.data[level][c]]);
            worst = std::max(worst, std::abs(now - ideal));
            seen.insert(light.data[level][c]);
        }
        if (brightness(pal[c]) >= 1500) { // dark colours have few shades below them
            EXPECT_GE(seen.size(), 6u) << "colour " << c << " fades in too few steps";
        }
        const RGB &dark = pal[light.data[0][c]];
        EXPECT_TRUE(dark.r <= 4 && dark.g <= 4 && dark.b <= 4) << "colour " << c << " does not fade to black";
    }
    EXPECT_LE(worst, 6300 / 10) << "a fade strays from its ideal brightness by more than a tenth";
}

// Peak distance from silence (128) of an 8-bit sample over [from, to).
static int peak(const SAMPLE *s, unsigned long from, unsigned long to) {
    const unsigned char *d = (const unsigned char *)s->data;
    int most = 0;
    for (unsigned long i = from; i < to; i++)
        most = std::max(most, std::abs(d[i] - 128));
    return most;
}

TEST_F(AssetsDatafiles, PickupAndExplosionAreAudibleAndDieAway) {
    for (int n : {PICKUP_SOUND, EXPLOSION_SOUND}) {
        const SAMPLE *s = (const SAMPLE *)files[0][SAMPLE_BASE + n].dat;
        ASSERT_NE(s, nullptr);
        ASSERT_EQ(s->bits, 8);
        ASSERT_GT(s->len, (unsigned long)s->freq / 10) << "effect " << n << " is too short to hear";
        EXPECT_GT(peak(s, 0, s->len / 4), 40) << "effect " << n << " is nearly silent";
        EXPECT_LT(peak(s, s->len * 9 / 10, s->len), peak(s, 0, s->len / 4) / 3) << "effect " << n << " ends abruptly";
    }
}

// Reads a MIDI variable-length number at p.
static unsigned read_varlen(const unsigned char *&p) {
    unsigned v = 0;
    do
        v = (v << 7) | (*p & 0x7F);
    while (*p++ & 0x80);
    return v;
}

// The tick of a track's end-of-track event.
static unsigned track_end(const unsigned char *p, const unsigned char *end) {
    unsigned tick = 0;
    int status = 0;
    while (p < end) {
        tick += read_varlen(p);
        if (*p & 0x80)
            status = *p++;
        if (status == 0xFF) {
            int type = *p++;
            unsigned len = read_varlen(p);
            if (type == 0x2F)
                return tick;
            p += len;
        } else if (status == 0xF0 || status == 0xF7) {
            p += read_varlen(p);
        } else {
            p += ((status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0) ? 1 : 2;
        }
    }
    return 0;
}

TEST_F(AssetsDatafiles, TuneEndsOnABarLineInEveryTrack) {
    const MIDI *m = (const MIDI *)files[0][MUSIC].dat;
    ASSERT_GT(m->divisions, 0);
    std::set<unsigned> ends;
    int tracks = 0;
    for (int t = 0; t < MIDI_TRACKS; t++)
        if (m->track[t].len > 0) {
            tracks++;
            ends.insert(track_end(m->track[t].data, m->track[t].data + m->track[t].len));
        }
    EXPECT_GE(tracks, 2);
    ASSERT_EQ(ends.size(), 1u) << "tracks end at different ticks: the loop would stumble";
    unsigned bar = 4 * m->divisions;
    EXPECT_GT(*ends.begin(), 0u);
    EXPECT_EQ(*ends.begin() % bar, 0u) << "the tune does not end on a bar line";
}

TEST_F(AssetsDatafiles, CountersAreLegibleOnThePanel) {
    FONT *f = (FONT *)files[0][PANEL_FONT].dat;
    BITMAP *panel = bitmap_at(files[0], PANEL_ART);
    RGB *pal = (RGB *)files[0][GAME_PALETTE].dat;
    ASSERT_NE(panel, nullptr);
    // every glyph the counters use draws something
    BITMAP *probe = create_bitmap_ex(8, 16, 16);
    for (const char *c = "SCOREHPBM:0123456789"; *c; c++) {
        clear_bitmap(probe);
        char text[2] = {*c, 0};
        textout_ex(probe, f, text, 0, 0, 1, -1);
        int ink = 0;
        for (int y = 0; y < 16; y++)
            for (int x = 0; x < 16; x++)
                ink += getpixel(probe, x, y) == 1;
        EXPECT_GT(ink, 2) << "glyph '" << *c << "'";
    }
    destroy_bitmap(probe);
    // the widest likely counter fits on its plate, and the plate is light
    // wherever the colour-0 text can fall
    int w = text_length(f, "SCORE:999999"), h = text_height(f);
    EXPECT_LE(w, 70);
    for (int top : {10, 40, 70})
        for (int y = top; y < top + h; y++)
            for (int x = 40 - w / 2; x < 40 + w / 2; x++)
                EXPECT_GT(brightness(pal[getpixel(panel, x, y)]), 3500) << "panel pixel " << x << "," << y;
}
