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


TEST(RoomScan, BoundsLandOnTheBoundaryTiles) {
    make_world(40, 40, 72);
    make_room(10, 5, 24, 19, 72);
    find_room_bounds(15, 10);
    EXPECT_EQ(room_left, 10);
    EXPECT_EQ(room_right, 24);
    EXPECT_EQ(room_top, 5);
    EXPECT_EQ(room_bottom, 19);

    // A left neighbour of code 0 gives tx - 1; the start tile itself is not tested.
    putpixel(terrain_layer, 14, 10, 0);
    putpixel(terrain_layer, 15, 10, 74);
    find_room_bounds(15, 10);
    EXPECT_EQ(room_left, 14);
    EXPECT_EQ(room_right, 24);

    // An exit code ends a scan as 0 does.
    putpixel(terrain_layer, 15, 8, 74);
    find_room_bounds(15, 10);
    EXPECT_EQ(room_top, 8);
}

TEST(RoomScan, LShapedRoomDependsOnTheStartTile) {
    make_world(40, 40, 0);
    rectfill(terrain_layer, 2, 2, 20, 6, 72);  // the long arm
    rectfill(terrain_layer, 2, 7, 6, 20, 72);  // the short arm going down
    find_room_bounds(4, 4);
    EXPECT_EQ(room_left, 1);
    EXPECT_EQ(room_right, 21);
    EXPECT_EQ(room_bottom, 21);
    find_room_bounds(15, 4);
    EXPECT_EQ(room_left, 1);
    EXPECT_EQ(room_bottom, 7);
}

TEST(RoomScan, OpenRoomStopsAtTheLayerEdge) {
    make_world(30, 20, 72); // no boundary anywhere
    find_room_bounds(5, 5);
    EXPECT_EQ(room_left, 0);
    EXPECT_EQ(room_right, 29);
    EXPECT_EQ(room_top, 0);
    EXPECT_EQ(room_bottom, 19);
    find_room_bounds(-3, 50); // a start outside the layer does not hang either
    EXPECT_EQ(room_left, -3);
    EXPECT_EQ(room_bottom, 50);
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
    // No temporary file is left beside the layer.
    EXPECT_EQ(system(("test $(ls " + dir + " | wc -l) -eq 1").c_str()), 0);
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

TEST(LayerFiles, SaveLayerPicksTheFileByNumber) {
    make_world(90, 170, 72);
    std::string dir = temp_dir();
    char old[512];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    putpixel(object_layer, 3, 4, 13);
    save_layer(1);
    save_layer(3);
    PALETTE pal;
    BITMAP *objects = load_layer("obj.map", pal);
    EXPECT_EQ(access("map.map", F_OK), -1);
    EXPECT_EQ(access("mob.map", F_OK), -1);
    ASSERT_NE(objects, nullptr);
    EXPECT_EQ(getpixel(objects, 3, 4), 13);
    destroy_bitmap(objects);
    ASSERT_EQ(chdir(old), 0);
}

TEST(LayerFiles, DamagedFilesAreRefusedWithAReason) {
    start_headless();
    std::string good = temp_dir() + "/good.map";
    BITMAP *bmp = create_bitmap_ex(8, 90, 170);
    for (int y = 0; y < 170; y++)
        for (int x = 0; x < 90; x++)
            putpixel(bmp, x, y, (x * 3 + y) & 255);
    PALETTE pal = {};
    ASSERT_EQ(write_layer_file(good.c_str(), bmp, pal), 0);
    destroy_bitmap(bmp);
    const std::vector<unsigned char> bytes = file_bytes(good);
    struct Damage {
        const char *what;
        long keep;              // bytes kept from the start (-1: all)
        int at, value;          // one byte changed (at -1: none)
        const char *reason;     // part of the message
    } damages[] = {
        {"sound", -1, -1, 0, nullptr},
        {"cut in half", (long)bytes.size() / 2, -1, 0, "truncated"},
        {"palette cut off", (long)bytes.size() - 100, -1, 0, "truncated"},
        {"24-bit", -1, 65, 3, "8-bit"},
        {"32768 columns", -1, 9, 0x7f, "size"},
        {"not a PCX", -1, 0, 'P', "not a PCX"},
    };
    for (const Damage &d : damages) {
        SCOPED_TRACE(d.what);
        std::vector<unsigned char> b(bytes.begin(), d.keep < 0 ? bytes.end() : bytes.begin() + d.keep);
        if (d.at >= 0)
            b[d.at] = (unsigned char)d.value;
        char why[256] = "";
        EXPECT_EQ(check_pcx_bytes(b.data(), (long)b.size(), why, sizeof why), d.reason == nullptr);
        if (d.reason) {
            EXPECT_NE(std::string(why).find(d.reason), std::string::npos) << why;
        }
    }
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
