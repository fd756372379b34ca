// test_screen_fit.cpp -- fitting the screen: the scale chosen, scaled presenting, the mouse mapped back to the frame
#include <gtest/gtest.h>
#include "test_support.h"
#include "editors.h"
#include "map.h"
#include "shell_options.h"
#include "shell.h"
#include "view.h"

TEST(ScreenFit, AutoScaleLeavesATenthOfTheDesktopAndFullscreenCentresTheLargestFit) {
    EXPECT_EQ(auto_scale(1920, 1080), 4); // 1280 x 960 in 1728 x 972
    EXPECT_EQ(auto_scale(1024, 768), 2);
    EXPECT_EQ(auto_scale(3840, 2160), 8);
    EXPECT_EQ(auto_scale(7680, 4320), 8); // never past 8
    EXPECT_EQ(auto_scale(320, 240), 1);   // too small even for 1: still 1
    EXPECT_EQ(auto_scale(0, 0), 1);
    // A 4K screen takes the largest scale the game draws, not 9; a chosen
    // scale smaller than the fit is kept.
    const struct { int w, h, largest, scale, x, y; } cases[] = {
        {1920, 1080, 8, 4, 320, 60}, {1280, 1024, 8, 4, 0, 32}, {1366, 768, 8, 3, 203, 24},
        {320, 240, 8, 1, 0, 0},      {300, 200, 8, 1, -10, -20}, {3840, 2160, 8, 8, 640, 120},
        {2880, 2160, 8, 8, 160, 120}, {1920, 1080, 2, 2, 640, 300}};
    for (const auto &c : cases) {
        place_frame(c.w, c.h, c.largest);
        EXPECT_EQ(present_scale, c.scale) << c.w;
        EXPECT_EQ(present_x, c.x) << c.w;
        EXPECT_EQ(present_y, c.y) << c.w;
    }
    present_scale = 1;
    present_x = present_y = 0;
}

// A screen of w x h memory pixels for the present path, put back afterwards.
class ScaledScreen : public testing::Test {
  protected:
    BITMAP *saved_screen = nullptr;
    void use_screen(int w, int h, int scale, int x, int y) {
        start_headless();
        saved_screen = screen;
        screen = create_bitmap(w, h);
        clear_to_color(screen, 7);
        present_scale = scale;
        present_x = x;
        present_y = y;
    }
    void TearDown() override {
        if (saved_screen) { // also called by the tests between cases: put back once
            destroy_bitmap(screen);
            screen = saved_screen;
            saved_screen = nullptr;
        }
        present_scale = 1;
        present_x = present_y = 0;
        release_all_input();
    }
};

// A frame where neighbouring pixels differ: any shift or smear shows.
static void fill_pattern(BITMAP *frame) {
    for (int y = 0; y < frame->h; y++)
        for (int x = 0; x < frame->w; x++)
            putpixel(frame, x, y, (x * 7 + y * 13 + (x * y) % 5) & 255);
}

// Pixels of `screen` that differ from `frame` replicated pixel by pixel into
// scale x scale blocks at (x0, y0), plus pixels outside that area that are
// not `outside`.
static int differences_from_replica(BITMAP *frame, int scale, int x0, int y0, int outside) {
    int n = 0;
    for (int y = 0; y < screen->h; y++)
        for (int x = 0; x < screen->w; x++) {
            int fx = (x - x0) / scale, fy = (y - y0) / scale;
            bool inside = x >= x0 && y >= y0 && fx < frame->w && fy < frame->h;
            int expected = inside ? getpixel(frame, fx, fy) : outside;
            n += getpixel(screen, x, y) != expected;
        }
    return n;
}

TEST_F(ScaledScreen, EveryFramePixelBecomesAScaleBlockAndTheRestIsLeftAlone) {
    const struct { int w, h, scale, x, y; } cases[] = {
        {320, 240, 1, 0, 0}, {960, 720, 3, 0, 0}, {1920, 1080, 4, 320, 60}, {1920, 1440, 6, 0, 0},
        {3520, 2640, 11, 0, 0},  // past the largest scale the game picks: built in pieces
        {330, 230, 1, 20, -5}};  // a screen smaller than the frame where it is put: cut at its edges
    for (const auto &c : cases) {
        SCOPED_TRACE(c.scale);
        use_screen(c.w, c.h, c.scale, c.x, c.y);
        fill_pattern(back_buffer);
        present_region(back_buffer, 0, 0, 0, 0, FRAME_W, FRAME_H);
        EXPECT_EQ(differences_from_replica(back_buffer, c.scale, c.x, c.y, 7), 0);
        TearDown();
    }
}

TEST_F(ScaledScreen, APartialCopyLandsOnItsFramePositionAndTheFillCoversOnlyTheFrame) {
    use_screen(1920, 1080, 4, 320, 60);
    present_fill(240);
    BITMAP *expected = create_bitmap(FRAME_W, FRAME_H);
    clear_to_color(expected, 240);
    EXPECT_EQ(differences_from_replica(expected, 4, 320, 60, 7), 0);
    // The object editor's 16 x 16 preview at frame (0, 0), and a block of
    // another bitmap at frame (100, 50).
    BITMAP *art = create_bitmap(40, 40);
    fill_pattern(art);
    present_region(art, 0, 0, 0, 0, 16, 16);
    present_region(art, 8, 4, 100, 50, 20, 10);
    blit(art, expected, 0, 0, 0, 0, 16, 16);
    blit(art, expected, 8, 4, 100, 50, 20, 10);
    EXPECT_EQ(differences_from_replica(expected, 4, 320, 60, 7), 0);
    destroy_bitmap(art);
    destroy_bitmap(expected);
}

TEST_F(ScaledScreen, ThePointerMapsBackToTheFramePixelDrawnUnderIt) {
    // Screen position, scale and frame origin, and the frame pixel expected.
    const struct { int scale, x0, y0, mx, my, fx, fy; } cases[] = {
        {1, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 319, 239, 319, 239}, {1, 0, 0, 123, 45, 123, 45},
        {3, 0, 0, 191, 2, 63, 0}, {3, 0, 0, 192, 5, 64, 1}, {3, 0, 0, 959, 719, 319, 239},
        {4, 320, 60, 320, 60, 0, 0}, {4, 320, 60, 323, 63, 0, 0}, {4, 320, 60, 324, 64, 1, 1},
        {4, 320, 60, 1599, 1019, 319, 239},
        {4, 320, 60, 10, 10, 0, 0},         // over the black border: clamped to the frame
        {4, 320, 60, 1900, 1070, 319, 239},
    };
    for (const auto &c : cases) {
        present_scale = c.scale;
        present_x = c.x0;
        present_y = c.y0;
        mouse_x = c.mx;
        mouse_y = c.my;
        int fx, fy;
        frame_mouse(&fx, &fy);
        EXPECT_EQ(fx, c.fx) << c.scale << ": " << c.mx << ", " << c.my;
        EXPECT_EQ(fy, c.fy) << c.scale << ": " << c.mx << ", " << c.my;
    }
}

TEST_F(ScaledScreen, AtScaleThreeTheTerrainEditorPaintsTheTileUnderThePointer) {
    use_screen(960, 720, 3, 0, 0);
    SavedWorld world;
    ASSERT_TRUE(enter_saved_world(world, 200, 200, 72, 60));
    editor_last_terrain = 30;
    terrain_editor_open();
    // Screen (3 * 47 + 2, 3 * 64): frame (47, 64), the last column of tile 68
    // and the first row of tile 155.
    mouse_x = 143;
    mouse_y = 192;
    int tx, ty;
    editor_target_tile(&tx, &ty);
    EXPECT_EQ(tx * 1000 + ty, 68155);
    mouse_b = 1;
    terrain_editor_pass();
    EXPECT_EQ(getpixel(terrain_layer, 68, 155), 30);
    EXPECT_EQ(getpixel(terrain_layer, 69, 155), 60);
    // The editor's own pointer pixel sits on that frame pixel, shown as a 3 x 3 block.
    EXPECT_EQ(getpixel(back_buffer, 47, 64), 255);
    EXPECT_EQ(getpixel(screen, 141, 192), 255);
    EXPECT_EQ(getpixel(screen, 143, 194), 255);
    EXPECT_NE(getpixel(screen, 144, 192), 255);
    release_all_input();
    terrain_editor_close();
    leave_saved_world(world);
}
