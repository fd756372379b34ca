// test_packer.cpp -- the packer: datafile entries match their sources, and a faulty manifest is refused
#include "font_text.h"
#include <gtest/gtest.h>
#include <allegro.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

static const std::string game_dir = LAMPLIGHT_GAME_DIR;     // the run folder the build packed into
static const std::string assets_dir = LAMPLIGHT_ASSETS_DIR; // the committed sources

static DATAFILE *load_packed(const char *name) {
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(8);
    return load_datafile((game_dir + "/" + name).c_str());
}

static bool same_pixels(BITMAP *a, int ax, int ay, BITMAP *b, int w, int h) {
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            if (getpixel(a, ax + x, ay + y) != getpixel(b, x, y))
                return false;
    return true;
}

TEST(AssetsPacker, SheetCellsLandAtTheirIndices) {
    DATAFILE *data = load_packed("data.dat");
    ASSERT_NE(data, nullptr);
    PALETTE pal;
    BITMAP *tiles = load_pcx((assets_dir + "/tiles.pcx").c_str(), pal);
    BITMAP *objects = load_pcx((assets_dir + "/objects.pcx").c_str(), pal);
    ASSERT_TRUE(tiles && objects);
    // terrain code t is cell t of the 15-wide sheet, object o cell o - 1 of the 7-wide one
    for (int t : {0, 1, 14, 15, 52, 74})
        EXPECT_TRUE(same_pixels(tiles, (t % 15) * 16, (t / 15) * 16, (BITMAP *)data[14 + t].dat, 16, 16)) << "tile " << t;
    for (int o : {1, 7, 8, 14})
        EXPECT_TRUE(same_pixels(objects, (o - 1) % 7 * 16, (o - 1) / 7 * 16, (BITMAP *)data[88 + o].dat, 16, 16)) << "object " << o;
    RGB *packed = (RGB *)data[9].dat;
    for (int c = 0; c < 256; c++)
        EXPECT_TRUE(packed[c].r == pal[c].r && packed[c].g == pal[c].g && packed[c].b == pal[c].b) << "colour " << c;
    destroy_bitmap(tiles);
    destroy_bitmap(objects);
    unload_datafile(data);
}

TEST(AssetsPacker, FontGlyphsMatchTheirTextRows) {
    DATAFILE *data = load_packed("data.dat");
    ASSERT_NE(data, nullptr);
    TextFont source;
    std::string error;
    ASSERT_TRUE(read_text_font(assets_dir + "/font.txt", source, error)) << error;
    FONT *f = (FONT *)data[6].dat;
    EXPECT_EQ(text_height(f), source.height);
    BITMAP *b = create_bitmap_ex(8, 32, 32);
    for (char c : std::string("AMW09:S!")) {
        const TextGlyph &g = source.glyphs[c - source.glyphs[0].code];
        char text[2] = {c, 0};
        EXPECT_EQ(text_length(f, text), (int)g.rows[0].size() + 1) << "'" << c << "'";
        clear_bitmap(b);
        textout_ex(b, f, text, 0, 0, 7, -1);
        for (int y = 0; y < source.height; y++)
            for (int x = 0; x < (int)g.rows[y].size(); x++)
                EXPECT_EQ(getpixel(b, x, y) == 7, g.rows[y][x] == '#') << "'" << c << "' at " << x << "," << y;
    }
    destroy_bitmap(b);
    unload_datafile(data);
}

static bool file_exists(const std::string &path) {
    return access(path.c_str(), F_OK) == 0;
}

// Runs the packer on a manifest text into a fresh folder; its exit status.
static int pack(const std::string &manifest, const std::string &out_dir) {
    std::string path = out_dir + "/manifest.txt";
    std::ofstream(path) << manifest;
    std::string command = std::string(LAMPLIGHT_PACK) + " " + path + " " + assets_dir + " " + out_dir + " >/dev/null 2>&1";
    return system(command.c_str());
}

TEST(AssetsPacker, FaultyManifestWritesNoDatafile) {
    char folder[] = "/tmp/lamplight-pack-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    std::string dir = folder;
    EXPECT_EQ(pack("datafile ok.dat\nbitmap shot.pcx\nat 1\n", dir), 0);
    EXPECT_TRUE(file_exists(dir + "/ok.dat"));
    // an entry out of step, a missing picture, a cut outside the picture, an unknown command
    const char *faults[] = {
        "datafile bad.dat\nbitmap shot.pcx\nat 2\n",
        "datafile bad.dat\nbitmap no-such-picture.pcx\n",
        "datafile bad.dat\nbitmap shot.pcx 4 4 8 8\n",
        "datafile bad.dat\nsprite shot.pcx\n",
    };
    for (const char *manifest : faults) {
        EXPECT_NE(pack(manifest, dir), 0) << manifest;
        EXPECT_FALSE(file_exists(dir + "/bad.dat")) << manifest;
        EXPECT_FALSE(file_exists(dir + "/bad.dat.part")) << manifest;
    }
    std::string cleanup = "rm -rf " + dir;
    EXPECT_EQ(system(cleanup.c_str()), 0);
}
