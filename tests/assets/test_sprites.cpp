// test_sprites.cpp -- the run-length copies of the game's art draw the same pixels as the art itself
#include "assets.h"
#include <gtest/gtest.h>
#include <allegro.h>
#include <cerrno>
#include <string>
#include <vector>

static DATAFILE *load(const char *name) {
    return load_datafile((std::string(LAMPLIGHT_GAME_DIR) + "/" + name).c_str());
}

// A background where every pixel differs from its neighbours.
static void fill_background(BITMAP *b) {
    for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++)
            putpixel(b, x, y, (x * 5 + y * 11) & 255);
}

static int differing(BITMAP *a, BITMAP *b) {
    int n = 0;
    for (int y = 0; y < a->h; y++)
        for (int x = 0; x < a->w; x++)
            n += getpixel(a, x, y) != getpixel(b, x, y);
    return n;
}

TEST(Sprites, RunLengthCopiesOfMonstersShotsBombAndExplosionsMatchDrawSprite) {
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(8);
    game_data = load("data.dat");
    monster_data = load("monster.dat");
    ASSERT_TRUE(game_data && monster_data) << "datafiles missing in " << LAMPLIGHT_GAME_DIR;
    build_sprites();
    BITMAP *plain = create_bitmap(320, 240), *rle = create_bitmap(320, 240);
    // Whole, and clipped at each edge of the frame.
    const int places[][2] = {{10, 10}, {-40, -60}, {280, 200}, {-5, 230}, {300, -3}};
    struct Art { BITMAP *bitmap; RLE_SPRITE *sprite; std::string name; };
    std::vector<Art> arts;
    for (int kind = 0; kind <= 15; kind++) // 0 and 15: the placeholder
        arts.push_back({monster_art(kind), monster_sprite(kind), "monster kind " + std::to_string(kind)});
    for (int index = BOMB_SPRITE; index <= EXPLOSION_ART + 2; index++)
        arts.push_back({game_bitmap(index), effect_sprite(index), "data.dat entry " + std::to_string(index)});
    for (const Art &a : arts)
        for (const auto &p : places) {
            SCOPED_TRACE(a.name + " at " + std::to_string(p[0]) + ", " + std::to_string(p[1]));
            ASSERT_NE(a.sprite, nullptr);
            fill_background(plain);
            fill_background(rle);
            draw_sprite(plain, a.bitmap, p[0], p[1]);
            draw_rle_sprite(rle, a.sprite, p[0], p[1]);
            EXPECT_EQ(differing(plain, rle), 0);
        }
    // The copies really were drawn: the giant covers part of the background.
    fill_background(rle);
    fill_background(plain);
    draw_rle_sprite(rle, monster_sprite(1), 10, 10);
    EXPECT_GT(differing(plain, rle), 1000);
    destroy_bitmap(plain);
    destroy_bitmap(rle);
    free_sprites();
    unload_datafile(game_data);
    unload_datafile(monster_data);
    game_data = monster_data = nullptr;
}
