// test_editors.cpp -- the terrain, object and monster editors driven pass by pass
#include <gtest/gtest.h>
#include "test_support.h"
#include "editors.h"
#include "assets.h"
#include "layers.h"
#include "view.h"
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

// Runs a test inside a fresh temporary folder, where the editors find their
// layer files, and goes back afterwards.
struct TempFolder {
    char old_dir[4096];
    std::string path;
    TempFolder() {
        char name[] = "/tmp/lamplight_editors_XXXXXX";
        path = mkdtemp(name);
        if (!getcwd(old_dir, sizeof old_dir))
            old_dir[0] = 0;
        if (chdir(path.c_str()) != 0)
            ADD_FAILURE() << "cannot enter " << path;
    }
    ~TempFolder() {
        if (old_dir[0] && chdir(old_dir) != 0)
            ADD_FAILURE() << "cannot go back to " << old_dir;
        std::string rm = "rm -rf " + path;
        if (system(rm.c_str()) != 0)
            ADD_FAILURE() << "cannot remove " << path;
    }
};

// A 200 x 200 world with a room of floor 60 in view (a code no button
// paints), written to the three layer files of the current folder, so that an
// editor's reload reads it back as it is.
void make_saved_world() {
    make_world(200, 200, 72);
    make_room(66, 151, 80, 165, 60);
    for (int layer = 0; layer < 3; layer++)
        save_layer(layer);
}

// Copies `layer`, so a test can compare what an editor left with what was there.
BITMAP *copy_of(BITMAP *layer) {
    BITMAP *copy = create_bitmap_ex(8, layer->w, layer->h);
    blit(layer, copy, 0, 0, 0, 0, layer->w, layer->h);
    return copy;
}

// How many tiles of `layer` differ from `before`.
int changed_tiles(BITMAP *layer, BITMAP *before) {
    int n = 0;
    for (int y = 0; y < layer->h; y++)
        for (int x = 0; x < layer->w; x++)
            n += getpixel(layer, x, y) != getpixel(before, x, y);
    return n;
}

// One terrain pass with only `k` held.
void terrain_pass_with(int k) {
    release_all_input();
    key[k] = 1;
    terrain_editor_pass();
    key[k] = 0;
}

// A click of `buttons` (bit 0 left, bit 1 right) at play-field pixel (x, y)
// in one pass of `pass`, with Space held when `space` is set.
void click(bool (*pass)(), int x, int y, int buttons, bool space = false) {
    release_all_input();
    mouse_x = x;
    mouse_y = y;
    mouse_b = buttons;
    key[KEY_SPACE] = space;
    pass();
    release_all_input();
}

// Centre pixel of tile (tx, ty) with the current view.
int centre_x(int tx) { return tile_px(tx) + 8; }
int centre_y(int ty) { return tile_py(ty) + 8; }

// Ends an editor: a pass with Esc held (which must report the end), then
// Esc released before the close waits for it.
void leave(bool (*pass)(), void (*close)()) {
    release_all_input();
    key[KEY_ESC] = 1;
    EXPECT_TRUE(pass());
    key[KEY_ESC] = 0;
    close();
}

} // namespace

TEST(EditorsTerrain, BrushStaysWithinItsBoundsAndShortcutsReachPast) {
    TempFolder folder;
    make_saved_world();
    editor_last_terrain = 0;
    terrain_editor_open();
    EXPECT_EQ(terrain_brush, 0);
    terrain_pass_with(KEY_Q);
    EXPECT_EQ(terrain_brush, 0); // Q at 0 stays 0
    for (int i = 0; i < 80; i++)
        terrain_pass_with(KEY_W);
    EXPECT_EQ(terrain_brush, 74); // W at 74 stays 74

    terrain_pass_with(KEY_Z);
    EXPECT_EQ(terrain_brush, 87);
    terrain_pass_with(KEY_W);
    EXPECT_EQ(terrain_brush, 74); // W from 87 falls back to the bound at once
    terrain_pass_with(KEY_Z);
    terrain_pass_with(KEY_Q);
    EXPECT_EQ(terrain_brush, 86); // Q from 87 steps down through 86
    terrain_pass_with(KEY_Q);
    EXPECT_EQ(terrain_brush, 85);

    // 3 and L together: L comes later and wins; a shortcut beats W in its pass.
    release_all_input();
    key[KEY_3] = key[KEY_L] = key[KEY_W] = 1;
    terrain_editor_pass();
    EXPECT_EQ(terrain_brush, 30);
    const int shortcuts[][2] = {{KEY_1, 0}, {KEY_2, 52}, {KEY_3, 72}, {KEY_4, 74}};
    for (const auto &s : shortcuts) {
        terrain_pass_with(s[0]);
        EXPECT_EQ(terrain_brush, s[1]);
    }

    // The brush is kept for the next opening.
    terrain_pass_with(KEY_L);
    leave(terrain_editor_pass, terrain_editor_close);
    EXPECT_EQ(editor_last_terrain, 30);
    terrain_editor_open();
    EXPECT_EQ(terrain_brush, 30);
    leave(terrain_editor_pass, terrain_editor_close);
}

TEST(EditorsTerrain, PreviewAndPointerAreDrawnEveryPass) {
    TempFolder folder;
    make_saved_world();
    editor_last_terrain = 30;
    terrain_editor_open();
    release_all_input();
    mouse_x = 100;
    mouse_y = 50;
    terrain_editor_pass();
    EXPECT_EQ(getpixel(back_buffer, 0, 0), 30);
    EXPECT_EQ(getpixel(back_buffer, 15, 15), 30);
    EXPECT_EQ(getpixel(back_buffer, 100, 50), 255);
    EXPECT_EQ(getpixel(screen, 100, 50), 255); // the pass presents its frame
    EXPECT_EQ(getpixel(back_buffer, centre_x(70), centre_y(155)), 73); // the view in editor mode

    // Dark floor gets the diagonal, code 0 the centre dot of colour 73.
    editor_last_terrain = 53;
    terrain_editor_open();
    terrain_editor_pass();
    EXPECT_EQ(getpixel(back_buffer, 5, 5), 255);
    EXPECT_EQ(getpixel(back_buffer, 6, 5), 53);
    terrain_pass_with(KEY_1);
    EXPECT_EQ(getpixel(back_buffer, 8, 8), 73);
    EXPECT_EQ(getpixel(back_buffer, 5, 5), TILE0_COLOUR);
    leave(terrain_editor_pass, terrain_editor_close);
}

TEST(EditorsTerrain, ButtonsPaintBrushFloorAndBlastedFloor) {
    TempFolder folder;
    make_saved_world();
    editor_last_terrain = 30;
    terrain_editor_open();
    const int ty = 155;
    // Space with the left button before any paint: the brush.
    click(terrain_editor_pass, centre_x(67), centre_y(ty), 1, true);
    EXPECT_EQ(getpixel(terrain_layer, 67, ty), 30);
    click(terrain_editor_pass, centre_x(68), centre_y(ty), 2);
    EXPECT_EQ(getpixel(terrain_layer, 68, ty), 72);
    // Space with the left button repeats the last paint, here 72.
    click(terrain_editor_pass, centre_x(69), centre_y(ty), 1, true);
    EXPECT_EQ(getpixel(terrain_layer, 69, ty), 72);
    click(terrain_editor_pass, centre_x(70), centre_y(ty), 2, true);
    EXPECT_EQ(getpixel(terrain_layer, 70, ty), 68);
    click(terrain_editor_pass, centre_x(71), centre_y(ty), 1, true);
    EXPECT_EQ(getpixel(terrain_layer, 71, ty), 68);
    click(terrain_editor_pass, centre_x(72), centre_y(ty), 1);
    EXPECT_EQ(getpixel(terrain_layer, 72, ty), 30);
    // Both buttons: 72 without Space, 68 with it.
    click(terrain_editor_pass, centre_x(73), centre_y(ty), 3);
    EXPECT_EQ(getpixel(terrain_layer, 73, ty), 72);
    click(terrain_editor_pass, centre_x(74), centre_y(ty), 3, true);
    EXPECT_EQ(getpixel(terrain_layer, 74, ty), 68);
    // No button, no paint.
    BITMAP *before = copy_of(terrain_layer);
    click(terrain_editor_pass, centre_x(75), centre_y(ty), 0, true);
    EXPECT_EQ(changed_tiles(terrain_layer, before), 0);
    destroy_bitmap(before);

    // The paint value is not carried into the next opening.
    leave(terrain_editor_pass, terrain_editor_close);
    terrain_editor_open();
    click(terrain_editor_pass, centre_x(76), centre_y(ty), 1, true);
    EXPECT_EQ(getpixel(terrain_layer, 76, ty), 30);
    leave(terrain_editor_pass, terrain_editor_close);
}

TEST(EditorsTarget, MouseTileUsesSubTileOffsetsAndThePanel) {
    TempFolder folder;
    make_saved_world();
    editor_last_terrain = 30;
    terrain_editor_open();
    scroll_px = 5;
    scroll_py = -3;
    int tx, ty;
    mouse_x = 10;
    mouse_y = 2;
    editor_target_tile(&tx, &ty);
    EXPECT_EQ(tx, 66);  // 10 + 5 = 15: still the first column
    EXPECT_EQ(ty, 150); // 2 - 3 = -1: the row above the origin
    mouse_x = 11;
    mouse_y = 3;
    editor_target_tile(&tx, &ty);
    EXPECT_EQ(tx, 67);
    EXPECT_EQ(ty, 151);

    // A click over the panel paints a tile right of the view, and only that one.
    scroll_px = scroll_py = 0;
    BITMAP *before = copy_of(terrain_layer);
    click(terrain_editor_pass, 300, 239, 1);
    EXPECT_EQ(getpixel(terrain_layer, 66 + 18, 151 + 14), 30);
    EXPECT_EQ(changed_tiles(terrain_layer, before), 1);

    // The same rule places objects, with a negative offset.
    leave(terrain_editor_pass, terrain_editor_close);
    object_editor_open();
    scroll_px = -4;
    click(object_editor_pass, 3, 40, 1);
    EXPECT_EQ(getpixel(object_layer, 65, 153), 1);
    leave(object_editor_pass, object_editor_close);
    destroy_bitmap(before);
}

TEST(EditorsTarget, ArrowsMoveTheViewPastTheLayerWhereNothingIsPainted) {
    TempFolder folder;
    make_saved_world();
    terrain_editor_open();
    scroll_px = 3;
    release_all_input();
    key[KEY_LEFT] = key[KEY_UP] = 1;
    terrain_editor_pass();
    EXPECT_EQ(view_tx, 65);
    EXPECT_EQ(view_ty, 150);
    EXPECT_EQ(scroll_px, 3); // offsets are left alone
    terrain_pass_with(KEY_RIGHT);
    terrain_pass_with(KEY_DOWN);
    EXPECT_EQ(view_tx, 66);
    EXPECT_EQ(view_ty, 151);

    // No bound: the view walks off the layer, and painting there writes nothing.
    for (int i = 0; i < 70; i++)
        terrain_pass_with(KEY_LEFT);
    EXPECT_EQ(view_tx, -4);
    scroll_px = 0;
    BITMAP *before = copy_of(terrain_layer);
    click(terrain_editor_pass, 8, 8, 1);
    EXPECT_EQ(changed_tiles(terrain_layer, before), 0);
    destroy_bitmap(before);
    leave(terrain_editor_pass, terrain_editor_close);

    // The object and monster editors move the view the same way.
    object_editor_open();
    release_all_input();
    key[KEY_RIGHT] = key[KEY_DOWN] = 1;
    object_editor_pass();
    EXPECT_EQ(view_tx, -3);
    EXPECT_EQ(view_ty, 152);
    leave(object_editor_pass, object_editor_close);
    monster_editor_open();
    release_all_input();
    key[KEY_LEFT] = 1;
    monster_editor_pass();
    EXPECT_EQ(view_tx, -4);
    leave(monster_editor_pass, monster_editor_close);
}

TEST(EditorsReload, TerrainReloadDropsPlayChangesButNotObjects) {
    TempFolder folder;
    make_world(200, 200, 72);
    putpixel(terrain_layer, 70, 155, 11); // a cracked wall
    putpixel(object_layer, 72, 156, 5);
    for (int layer = 0; layer < 3; layer++)
        save_layer(layer);
    // Play blasts the wall and takes the object, in memory only.
    putpixel(terrain_layer, 70, 155, 68);
    putpixel(object_layer, 72, 156, 0);
    BITMAP *objects = object_layer;

    terrain_editor_open();
    EXPECT_EQ(getpixel(terrain_layer, 70, 155), 11); // whole again
    EXPECT_EQ(object_layer, objects);
    EXPECT_EQ(getpixel(object_layer, 72, 156), 0); // still taken
    leave(terrain_editor_pass, terrain_editor_close);

    // The object editor brings the taken object back.
    object_editor_open();
    EXPECT_EQ(getpixel(object_layer, 72, 156), 5);
    leave(object_editor_pass, object_editor_close);
}

TEST(EditorsReload, FailedReloadKeepsTheLayerInMemoryAndSaysSo) {
    TempFolder folder;
    make_saved_world();
    ASSERT_EQ(remove("map.map"), 0);
    putpixel(terrain_layer, 70, 155, 11);
    BITMAP *terrain = terrain_layer;
    testing::internal::CaptureStderr();
    terrain_editor_open();
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(terrain_layer, terrain);
    EXPECT_EQ(getpixel(terrain_layer, 70, 155), 11);
    EXPECT_NE(said.find("map.map"), std::string::npos) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said; // one line

    // A damaged file is refused the same way; the save then writes a sound one.
    FILE *f = fopen("mob.map", "wb");
    fputs("not an image", f);
    fclose(f);
    leave(terrain_editor_pass, terrain_editor_close);
    putpixel(monster_layer, 71, 156, 4);
    testing::internal::CaptureStderr();
    monster_editor_open();
    said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("mob.map"), std::string::npos) << said;
    EXPECT_EQ(getpixel(monster_layer, 71, 156), 4);
    leave(monster_editor_pass, monster_editor_close);
    BITMAP *saved = load_layer("mob.map", palette);
    ASSERT_NE(saved, nullptr) << layer_error;
    EXPECT_EQ(getpixel(saved, 71, 156), 4);
    destroy_bitmap(saved);
}

TEST(EditorsSave, SavedTerrainFileHoldsExactlyThePaintedCodes) {
    TempFolder folder;
    make_saved_world();
    BITMAP *before = copy_of(terrain_layer);
    editor_last_terrain = 52;
    terrain_editor_open();
    click(terrain_editor_pass, centre_x(67), centre_y(152), 1);
    click(terrain_editor_pass, centre_x(68), centre_y(153), 2);
    click(terrain_editor_pass, centre_x(69), centre_y(154), 2, true);
    // The pass that sees Esc still paints.
    release_all_input();
    mouse_x = centre_x(70);
    mouse_y = centre_y(155);
    mouse_b = 1;
    key[KEY_ESC] = 1;
    EXPECT_TRUE(terrain_editor_pass());
    release_all_input();
    terrain_editor_close();

    BITMAP *saved = load_layer("map.map", palette);
    ASSERT_NE(saved, nullptr) << layer_error;
    EXPECT_EQ(getpixel(saved, 67, 152), 52);
    EXPECT_EQ(getpixel(saved, 68, 153), 72);
    EXPECT_EQ(getpixel(saved, 69, 154), 68);
    EXPECT_EQ(getpixel(saved, 70, 155), 52);
    putpixel(before, 67, 152, 52);
    putpixel(before, 68, 153, 72);
    putpixel(before, 69, 154, 68);
    putpixel(before, 70, 155, 52);
    EXPECT_EQ(changed_tiles(saved, before), 0);
    destroy_bitmap(saved);
    destroy_bitmap(before);
}

TEST(EditorsObjects, BrushBoundsPlacingAndErasing) {
    TempFolder folder;
    make_saved_world();
    object_editor_open();
    EXPECT_EQ(object_brush, 1);
    release_all_input();
    key[KEY_Q] = 1;
    object_editor_pass();
    EXPECT_EQ(object_brush, 1); // Q at 1 stays 1
    for (int i = 0; i < 20; i++) {
        release_all_input();
        key[KEY_W] = 1;
        object_editor_pass();
    }
    EXPECT_EQ(object_brush, 14); // W at 14 stays 14

    // The preview goes straight to the screen at the start of a pass.
    release_all_input();
    key[KEY_Q] = 1;
    object_editor_pass();
    release_all_input();
    object_editor_pass();
    EXPECT_EQ(getpixel(screen, 8, 8), OBJECT_COLOUR_BASE + 13);
    EXPECT_EQ(getpixel(screen, 0, 0), 0); // copied opaque

    click(object_editor_pass, centre_x(70), centre_y(155), 1);
    EXPECT_EQ(getpixel(object_layer, 70, 155), 13);
    EXPECT_EQ(getpixel(back_buffer, 8, 8), OBJECT_COLOUR_BASE + 13);
    EXPECT_EQ(getpixel(screen, tile_px(70) + 5, tile_py(155) + 5), OBJECT_COLOUR_BASE + 13); // redrawn
    click(object_editor_pass, centre_x(71), centre_y(155), 1);
    click(object_editor_pass, centre_x(70), centre_y(155), 2);
    EXPECT_EQ(getpixel(object_layer, 70, 155), 0); // right erases
    click(object_editor_pass, centre_x(71), centre_y(155), 3);
    EXPECT_EQ(getpixel(object_layer, 71, 155), 0); // both erase
    click(object_editor_pass, centre_x(72), centre_y(155), 1);
    leave(object_editor_pass, object_editor_close);

    // Saved: exactly the one object left; the brush starts at 1 again.
    BITMAP *saved = load_layer("obj.map", palette);
    ASSERT_NE(saved, nullptr) << layer_error;
    BITMAP *empty = create_bitmap_ex(8, 200, 200);
    clear_bitmap(empty);
    EXPECT_EQ(changed_tiles(saved, empty), 1);
    EXPECT_EQ(getpixel(saved, 72, 155), 13);
    destroy_bitmap(saved);
    destroy_bitmap(empty);
    object_editor_open();
    EXPECT_EQ(object_brush, 1);
    leave(object_editor_pass, object_editor_close);
}

TEST(EditorsMonsters, BrushBoundsPreviewPlacingAndErasing) {
    TempFolder folder;
    make_saved_world();
    monster_editor_open();
    EXPECT_EQ(monster_brush, 1);
    EXPECT_EQ(getpixel(screen, 0, 0), MONSTER_COLOUR_BASE + 1); // sprite of the brush
    release_all_input();
    key[KEY_Q] = 1;
    monster_editor_pass();
    EXPECT_EQ(monster_brush, 1);
    for (int i = 0; i < 20; i++) {
        release_all_input();
        key[KEY_W] = 1;
        monster_editor_pass();
    }
    EXPECT_EQ(monster_brush, 14);
    // Q shows the new sprite on the screen at once.
    release_all_input();
    key[KEY_Q] = 1;
    monster_editor_pass();
    EXPECT_EQ(monster_brush, 13);
    EXPECT_EQ(getpixel(back_buffer, 0, 0), MONSTER_COLOUR_BASE + 13);
    EXPECT_EQ(getpixel(screen, 0, 0), MONSTER_COLOUR_BASE + 13);

    click(monster_editor_pass, centre_x(70), centre_y(155), 1);
    EXPECT_EQ(getpixel(monster_layer, 70, 155), 13);
    EXPECT_EQ(getpixel(screen, tile_px(70) + 1, tile_py(155) + 1), MONSTER_COLOUR_BASE + 13);
    click(monster_editor_pass, centre_x(71), centre_y(155), 1);
    click(monster_editor_pass, centre_x(70), centre_y(155), 2);
    EXPECT_EQ(getpixel(monster_layer, 70, 155), 0);
    click(monster_editor_pass, centre_x(71), centre_y(155), 3);
    EXPECT_EQ(getpixel(monster_layer, 71, 155), 0);
    click(monster_editor_pass, centre_x(73), centre_y(156), 1);
    leave(monster_editor_pass, monster_editor_close);

    BITMAP *saved = load_layer("mob.map", palette);
    ASSERT_NE(saved, nullptr) << layer_error;
    BITMAP *empty = create_bitmap_ex(8, 200, 200);
    clear_bitmap(empty);
    EXPECT_EQ(changed_tiles(saved, empty), 1);
    EXPECT_EQ(getpixel(saved, 73, 156), 13);
    destroy_bitmap(saved);
    destroy_bitmap(empty);
}
