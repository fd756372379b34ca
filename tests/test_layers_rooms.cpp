// test_layers_rooms.cpp -- the room scan, layer files, the datafile check, the lamp
#include <gtest/gtest.h>
#include "test_support.h"
#include "assets.h"
#include "map.h"
#include "view.h"
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>


// The scans from the start tile end on the first tile of code 0 or an exit
// (the start tile itself is not tested), or at the layer's edge.
TEST(RoomScan, BoundsLandOnTheBoundaryTilesOrTheLayersEdge) {
    struct Case { const char *rule; int w, h, fill, start_x, start_y; const char *bounds; };
    const Case cases[] = {
        {"a closed room", 40, 40, 72, 15, 10, "10,5 24,19"},
        {"a left neighbour of code 0 on an exit start tile, an exit above", 40, 40, 72, 15, 10, "14,8 24,19"},
        {"an L-shaped room from its long arm's corner", 40, 40, 0, 4, 4, "1,1 21,21"},
        {"the L from the far end of the long arm", 40, 40, 0, 15, 4, "1,1 21,7"},
        {"no boundary anywhere", 30, 20, 72, 5, 5, "0,0 29,19"},
        {"a start outside the layer does not hang", 30, 20, 72, -3, 50, "-3,50 -3,50"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.rule);
        make_world(c.w, c.h, c.fill);
        if (c.fill == 0) {
            rectfill(terrain_layer, 2, 2, 20, 6, 72); // the long arm
            rectfill(terrain_layer, 2, 7, 6, 20, 72); // the short arm going down
        } else if (c.w == 40) {
            make_room(10, 5, 24, 19, 72);
        }
        if (&c == &cases[1]) {
            putpixel(terrain_layer, 14, 10, 0);
            putpixel(terrain_layer, 15, 10, 74);
            putpixel(terrain_layer, 15, 8, 74);
        }
        find_room_bounds(c.start_x, c.start_y);
        char bounds[64];
        snprintf(bounds, sizeof bounds, "%d,%d %d,%d", room_left, room_top, room_right, room_bottom);
        EXPECT_STREQ(bounds, c.bounds);
    }
}

TEST(LayerFiles, EveryCodeSurvivesSaveAndLoad) {
    start_headless();
    std::string dir = temp_dir();
    std::string file = dir + "/map.map";
    BITMAP *bmp = create_bitmap_ex(8, 256, 3);
    for (int x = 0; x < 256; x++)
        for (int y = 0; y < 3; y++)
            putpixel(bmp, x, y, (x + y * 7) & 255);
    PALETTE pal;
    for (int i = 0; i < 256; i++)
        pal[i].r = pal[i].g = pal[i].b = i / 4;
    ASSERT_EQ(write_layer_file(file.c_str(), bmp, pal), 0);
    PALETTE back;
    BITMAP *loaded = load_layer(file.c_str(), back);
    ASSERT_NE(loaded, nullptr) << layer_error;
    ASSERT_EQ(loaded->w, 256);
    ASSERT_EQ(loaded->h, 3);
    int wrong = 0;
    for (int x = 0; x < 256; x++)
        for (int y = 0; y < 3; y++)
            wrong += getpixel(loaded, x, y) != ((x + y * 7) & 255);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(back[200].r, 50);
    // A new file gets the usual mode, a replaced one keeps its own.
    struct stat st;
    mode_t mask = umask(022);
    ASSERT_EQ(write_layer_file(file.c_str(), bmp, pal), 0);
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    chmod(file.c_str(), 0640);
    ASSERT_EQ(write_layer_file(file.c_str(), bmp, pal), 0);
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    umask(mask);
    destroy_bitmap(bmp);
    destroy_bitmap(loaded);
}


TEST(LayerFiles, SaveIntoMissingFolderKeepsOldFileAndReports) {
    start_headless();
    std::string dir = temp_dir();
    BITMAP *bmp = create_bitmap_ex(8, 4, 4);
    clear_to_color(bmp, 9);
    PALETTE pal = {};
    std::string file = dir + "/gone/map.map";
    testing::internal::CaptureStderr();
    EXPECT_EQ(write_layer_file(file.c_str(), bmp, pal), -1);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("gone/map.map: not saved"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);

    destroy_bitmap(bmp);
}

// Each damage is refused in its own words; padding after the palette, as
// some paint programs write it, is not damage, and loads as the library reads it.
TEST(LayerFiles, DamagedFilesAreRefusedWithAReason) {
    start_headless();
    std::string good = temp_dir() + "/good.map";
    BITMAP *bmp = create_bitmap_ex(8, 90, 170);
    for (int y = 0; y < 170; y++)
        for (int x = 0; x < 90; x++)
            putpixel(bmp, x, y, (x * 3 + y) & 255);
    PALETTE pal = {};
    ASSERT_EQ(write_layer_file(good.c_str(), bmp, pal), 0);
    const std::vector<unsigned char> bytes = file_bytes(good);
    const long size = (long)bytes.size();
    struct Damage {
        const char *what;
        long keep;              // bytes kept from the start (-1: all, -2: 500 bytes of padding added)
        int at, value;          // one byte changed (at -1: none)
        const char *reason;     // "" when sound
    } damages[] = {
        {"sound", -1, -1, 0, ""},
        {"padded", -2, -1, 0, ""},
        {"cut in half", size / 2, -1, 0, "truncated: the image data ends before the last row"},
        {"no palette", size - 769, -1, 0, "truncated or damaged: no palette after the image data"},
        {"palette cut off", size - 100, -1, 0, "truncated: the palette is cut short"},
        {"24-bit", -1, 65, 3, "not an 8-bit paletted PCX image (8 bits, 3 planes)"},
        {"32602 columns", -1, 9, 0x7f, "size 32602x170 is outside 1x1 .. 4096x4096"},
        {"a row shorter than the image", -1, 66, 1, "damaged PCX header (1 bytes per row for 90 pixels)"},
        {"not a PCX", -1, 0, 'P', "not a PCX image"},
        {"shorter than a header and a palette", 896, -1, 0, "too short to be a PCX image (896 bytes)"},
    };
    for (const Damage &d : damages) {
        SCOPED_TRACE(d.what);
        std::vector<unsigned char> b(bytes.begin(), d.keep < 0 ? bytes.end() : bytes.begin() + d.keep);
        if (d.keep == -2)
            b.insert(b.end(), 500, 0);
        if (d.at >= 0)
            b[d.at] = (unsigned char)d.value;
        char why[256] = "";
        EXPECT_EQ(check_pcx_bytes(b.data(), (long)b.size(), why, sizeof why), !d.reason[0]);
        EXPECT_STREQ(why, d.reason);
        if (d.keep == -2) {
            FILE *f = fopen(good.c_str(), "wb");
            fwrite(b.data(), 1, b.size(), f);
            fclose(f);
            BITMAP *loaded = load_layer(good.c_str(), pal);
            ASSERT_NE(loaded, nullptr) << layer_error;
            for (int y = 0; y < 170; y++)
                for (int x = 0; x < 90; x++)
                    ASSERT_EQ(getpixel(loaded, x, y), getpixel(bmp, x, y));
            destroy_bitmap(loaded);
        }
    }
    destroy_bitmap(bmp);
}

TEST(Datafiles, MissingOrWrongEntriesAreNamed) {
    start_headless();
    char why[160];
    EXPECT_TRUE(check_datafile(game_data, 0, why, sizeof why)) << why;
    EXPECT_TRUE(check_datafile(guy_data, 1, why, sizeof why)) << why;
    EXPECT_TRUE(check_datafile(monster_data, 2, why, sizeof why)) << why;

    DATAFILE copy[GAME_DATA_ENTRIES + 1];
    for (int i = 0; i <= GAME_DATA_ENTRIES; i++)
        copy[i] = game_data[i];
    copy[GAME_PALETTE].type = DAT_BITMAP;
    EXPECT_FALSE(check_datafile(copy, 0, why, sizeof why));
    EXPECT_STREQ(why, "entry 9 should be a palette");
    copy[GAME_PALETTE] = game_data[GAME_PALETTE];

    BITMAP *big_tile = create_bitmap_ex(8, 16, 17);
    copy[TERRAIN_ART_BASE + 3].dat = big_tile;
    EXPECT_FALSE(check_datafile(copy, 0, why, sizeof why));
    EXPECT_STREQ(why, "entry 17 is 16x17, should be 16x16");
    copy[TERRAIN_ART_BASE + 3] = game_data[TERRAIN_ART_BASE + 3];

    copy[50].type = DAT_END; // too few entries
    EXPECT_FALSE(check_datafile(copy, 0, why, sizeof why));
    EXPECT_STREQ(why, "holds 50 entries, needs at least 103");
    EXPECT_FALSE(check_datafile(monster_data, 1, why, sizeof why)); // monster.dat is no guy.dat
    destroy_bitmap(big_tile);
}

TEST(LampSprite, RingsCarryTheirLightLevels) {
    start_headless();
    EXPECT_EQ(getpixel(lamp_sprite, 0, 0), 0);       // outside radius 80
    EXPECT_EQ(getpixel(lamp_sprite, 80, 0), 3);      // the rim, radius 80
    EXPECT_EQ(getpixel(lamp_sprite, 80, 1), 7);      // radius 79
    EXPECT_EQ(getpixel(lamp_sprite, 80, 80), 255);   // the centre
    EXPECT_EQ(getpixel(lamp_sprite, 80, 80 - 17), 255); // the central disc of radius 17
    EXPECT_EQ(getpixel(lamp_sprite, 80, 80 - 18), 251);
    EXPECT_EQ(getpixel(lamp_sprite, 159, 80), 7);    // radius 79 to the right
}
