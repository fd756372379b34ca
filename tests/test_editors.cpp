// test_editors.cpp -- the terrain, object and monster editors driven pass by pass
#include <gtest/gtest.h>
#include "test_support.h"
#include "editors.h"
#include "assets.h"
#include "map.h"
#include "player.h"
#include "view.h"
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <cstring>
#include <vector>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

// Each test runs in a fresh temporary folder holding the three layer files of
// a 200 x 200 world with a room of floor 60 in view (a code no button paints),
// so that an editor's reload reads back what the test set up.
class Editors : public testing::Test {
  protected:
    SavedWorld world;
    void SetUp() override { ASSERT_TRUE(enter_saved_world(world, 200, 200, 72, 60)); }
    void TearDown() override { leave_saved_world(world); }
};

// The three editors, by the layer each edits: terrain, objects, monsters.
static void (*const opens[])() = {terrain_editor_open, object_editor_open, monster_editor_open};
static bool (*const passes[])() = {terrain_editor_pass, object_editor_pass, monster_editor_pass};
static void (*const closes[])() = {terrain_editor_close, object_editor_close, monster_editor_close};
static BITMAP **const layers[] = {&terrain_layer, &object_layer, &monster_layer};

static BITMAP *copy_of(BITMAP *layer) {
    BITMAP *copy = create_bitmap_ex(8, layer->w, layer->h);
    blit(layer, copy, 0, 0, 0, 0, layer->w, layer->h);
    return copy;
}

// How many tiles of the file of `layer` differ from `expected` (destroyed),
// or -1 when the file cannot be read.
static int saved_differences(int layer, BITMAP *expected) {
    BITMAP *saved = load_layer(layer_file_name(layer), palette);
    int n = saved ? 0 : -1;
    for (int y = 0; saved && y < saved->h; y++)
        for (int x = 0; x < saved->w; x++)
            n += getpixel(saved, x, y) != getpixel(expected, x, y);
    if (saved)
        destroy_bitmap(saved);
    destroy_bitmap(expected);
    return n;
}

// One pass of `pass` with only `keys` held and the mouse at (x, y) with
// `buttons` down (bit 0 left, bit 1 right); true when the pass saw Esc.
static bool run(bool (*pass)(), std::initializer_list<int> keys, int x = 0, int y = 0, int buttons = 0) {
    release_all_input();
    for (int k : keys)
        key[k] = 1;
    mouse_x = x;
    mouse_y = y;
    mouse_b = buttons;
    bool esc = pass();
    release_all_input();
    return esc;
}

// One pass clicking the centre of tile (tx, ty), with Space held when `space` is set.
static void click(bool (*pass)(), int tx, int ty, int buttons, bool space = false) {
    static const std::initializer_list<int> space_held = {KEY_SPACE}, nothing = {};
    run(pass, space ? space_held : nothing, tile_px(tx) + 8, tile_py(ty) + 8, buttons);
}

// Ends editor e: the pass with Esc held (the mouse as given) must report the
// end; Esc is released before the close waits for it.
static void leave(int e, int x = 0, int y = 0, int buttons = 0) {
    EXPECT_TRUE(run(passes[e], {KEY_ESC}, x, y, buttons));
    closes[e]();
}

// The lines of editor `layer`'s panel, each ended by "|"; only its warnings when `warnings`.
static std::string panel_text(int layer, bool warnings = false) {
    EditorPanel p;
    compose_editor_panel(layer, p);
    std::string text;
    for (int i = 0; i < p.line_count; i++)
        text += warnings && !p.warning[i] ? "" : std::string(p.lines[i]) + "|";
    return text;
}

// Pixels of the screen's panel that are not the editor's panel as it draws itself.
static int stale_panel_pixels() {
    BITMAP *own = create_bitmap(FRAME_W, FRAME_H);
    clear_bitmap(own);
    draw_editor_panel(own);
    int differ = 0;
    for (int y = 0; y < FRAME_H; y++)
        for (int x = EDITOR_PANEL_X; x < FRAME_W; x++)
            differ += getpixel(screen, x, y) != getpixel(own, x, y);
    destroy_bitmap(own);
    return differ;
}

TEST_F(Editors, TerrainBrushStaysWithinItsBoundsShortcutsReachPastAndTheBrushIsKept) {
    editor_last_terrain = 0;
    terrain_editor_open();
    // Held key, how many passes, the brush after them.
    const struct { int key, passes, brush; } steps[] = {
        {KEY_Q, 1, 0}, {KEY_W, 80, 74}, {KEY_Z, 1, 87}, {KEY_W, 1, 74}, {KEY_Z, 1, 87}, {KEY_Q, 1, 86},
        {KEY_1, 1, 0}, {KEY_2, 1, 52}, {KEY_3, 1, 72}, {KEY_4, 1, 74}, {KEY_L, 1, 30}};
    for (const auto &s : steps) {
        SCOPED_TRACE(s.brush);
        for (int i = 0; i < s.passes; i++)
            run(terrain_editor_pass, {s.key});
        EXPECT_EQ(terrain_brush, s.brush);
    }
    // 3 and L together: L comes later and wins; a shortcut beats W in its pass.
    run(terrain_editor_pass, {KEY_3, KEY_L, KEY_W});
    EXPECT_EQ(terrain_brush, 30);
    leave(0);
    terrain_editor_open();
    EXPECT_EQ(terrain_brush, 30);
}

TEST_F(Editors, TerrainPreviewPointerAndTheTileUnderItAreDrawnEveryPass) {
    terrain_editor_open();
    // Dark floor gets the diagonal, code 0 the centre dot of colour 73.
    const struct { int brush, x, y, colour; } cases[] = {
        {30, 15, 15, 30}, {53, 5, 5, 255}, {53, 6, 5, 53}, {0, 8, 8, 73}, {0, 5, 5, TILE0_COLOUR}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.brush);
        terrain_brush = c.brush;
        run(terrain_editor_pass, {}, 100, 50);
        EXPECT_EQ(getpixel(back_buffer, c.x, c.y), c.colour);
    }
    EXPECT_EQ(getpixel(screen, 100, 50), 255); // the pointer, in the presented frame
    EXPECT_EQ(getpixel(back_buffer, tile_px(70) + 8, tile_py(155) + 8), 73); // editor mode
    // The tile under the pointer is framed black round white, under the
    // preview and over the view; the pointer pixel is still drawn.
    int x = tile_px(70), y = tile_py(157), black = makecol(0, 0, 0), white = makecol(255, 255, 255);
    terrain_brush = 30;
    run(terrain_editor_pass, {}, x + 5, y + 6);
    EXPECT_EQ(getpixel(back_buffer, x, y + 7), black);
    EXPECT_EQ(getpixel(back_buffer, x + 1, y + 7), white);
    EXPECT_EQ(getpixel(back_buffer, x + 14, y + 14), white);
    EXPECT_EQ(getpixel(back_buffer, x + 5, y + 6), 255); // the pointer pixel
    EXPECT_EQ(getpixel(back_buffer, x + 7, y + 7), 60);  // the tile inside
    run(terrain_editor_pass, {}, 3, 3);                  // under the preview at (0, 0)
    EXPECT_EQ(getpixel(back_buffer, 0, 7), 30);
}

TEST_F(Editors, TerrainButtonsPaintAndTheSavedFileHoldsExactlyThePaintedCodes) {
    BITMAP *expected = copy_of(terrain_layer);
    editor_last_terrain = 30;
    terrain_editor_open();
    // Clicks on tiles 67, 68, ... of row 155 in turn; Space with the left
    // button repeats the last paint, or paints the brush before any.
    const struct { int buttons; bool space; int code; } clicks[] = {
        {1, true, 30}, {2, false, 72}, {1, true, 72}, {2, true, 68},
        {1, true, 68}, {1, false, 30}, {3, false, 72}, {3, true, 68}, {0, true, 60}};
    int tx = 67;
    for (const auto &c : clicks) {
        SCOPED_TRACE(tx);
        click(terrain_editor_pass, tx, 155, c.buttons, c.space);
        EXPECT_EQ(getpixel(terrain_layer, tx, 155), c.code);
        putpixel(expected, tx++, 155, c.code);
    }
    leave(0, tile_px(70) + 8, tile_py(160) + 8, 2); // the pass that sees Esc still paints
    putpixel(expected, 70, 160, 72);
    EXPECT_EQ(saved_differences(0, expected), 0) << layer_error;
    // The paint value is not carried into the next opening.
    terrain_editor_open();
    click(terrain_editor_pass, tx, 155, 1, true);
    EXPECT_EQ(getpixel(terrain_layer, tx, 155), 30);
}

TEST_F(Editors, MouseTileUsesSubTileOffsetsAndThePanel) {
    // Offsets, mouse pixel, and the tile as tx * 1000 + ty, from the origin (66, 151).
    const struct { int scroll_x, scroll_y, x, y, tile; } cases[] = {
        {5, -3, 10, 2, 66150}, // 10 + 5 = 15: the first column; 2 - 3 = -1: the row above
        {5, -3, 11, 3, 67151}, {-4, 0, 3, 40, 65153},
        {0, 0, 300, 239, 84165}}; // over the panel: right of the view
    for (const auto &c : cases) {
        scroll_px = c.scroll_x;
        scroll_py = c.scroll_y;
        mouse_x = c.x;
        mouse_y = c.y;
        int tx, ty;
        editor_target_tile(&tx, &ty);
        EXPECT_EQ(tx * 1000 + ty, c.tile) << c.x << ", " << c.y;
    }
}

TEST_F(Editors, ArrowsMoveTheViewPastTheLayerWhereNothingIsPainted) {
    editor_last_terrain = 30;
    for (int e = 0; e < 3; e++) {
        SCOPED_TRACE(e);
        BITMAP *before = copy_of(*layers[e]);
        opens[e]();
        view_tx = 0;
        scroll_px = 3;
        run(passes[e], {KEY_LEFT, KEY_UP});
        EXPECT_EQ(view_tx, -1); // no bound
        EXPECT_EQ(view_ty, 150);
        run(passes[e], {}, 8, 8, 1); // a click on tile (-1, 150)
        run(passes[e], {KEY_RIGHT, KEY_DOWN});
        EXPECT_EQ(view_tx, 0);
        EXPECT_EQ(view_ty, 151);
        EXPECT_EQ(scroll_px, 3); // offsets are left alone
        leave(e);
        EXPECT_EQ(saved_differences(e, before), 0);
    }
}

TEST_F(Editors, EachEditorReloadsOnlyItsOwnLayerAndAFailedReloadKeepsTheLayer) {
    // On file: a cracked wall, an object, a monster. Play blasts the wall and
    // takes the other two, in memory only.
    const int on_file[] = {11, 5, 4}, in_play[] = {68, 0, 0};
    for (int l = 0; l < 3; l++) {
        putpixel(*layers[l], 70, 155, on_file[l]);
        save_layer(l);
    }
    for (int e = 0; e < 3; e++) {
        for (int l = 0; l < 3; l++)
            putpixel(*layers[l], 70, 155, in_play[l]);
        opens[e]();
        for (int l = 0; l < 3; l++)
            EXPECT_EQ(getpixel(*layers[l], 70, 155), l == e ? on_file[l] : in_play[l]) << e << l;
    }
    // With the file gone since start-up the layer in memory stays, one line
    // says so, and the save on leaving writes it back.
    ASSERT_EQ(remove("map.map"), 0);
    putpixel(terrain_layer, 70, 155, 68);
    testing::internal::CaptureStderr();
    terrain_editor_open();
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(getpixel(terrain_layer, 70, 155), 68);
    EXPECT_NE(said.find("map.map"), std::string::npos) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said; // one line
    BITMAP *expected = copy_of(terrain_layer);
    leave(0);
    EXPECT_EQ(saved_differences(0, expected), 0) << layer_error;
}

TEST_F(Editors, ObjectAndMonsterBrushesStayWithinOneTo14AndTheRightButtonErases) {
    // The object and the monster editor, with the screen pixels of their preview for
    // brush 13 at (0, 0) and (8, 8): the object's art is copied opaque, corner and all.
    const struct { int layer, *brush, corner, centre; } editors[] = {
        {1, &object_brush, 0, OBJECT_COLOUR_BASE + 13},
        {2, &monster_brush, MONSTER_COLOUR_BASE + 13, MONSTER_COLOUR_BASE + 13}};
    putpixel(monster_layer, 74, 160, 3); // shown by the monster editor alone
    save_layer(2);
    for (const auto &e : editors) {
        SCOPED_TRACE(e.layer);
        bool (*pass)() = passes[e.layer];
        BITMAP *&layer = *layers[e.layer];
        opens[e.layer]();
        run(pass, {KEY_Q});
        EXPECT_EQ(*e.brush, 1); // Q at 1 stays 1
        for (int i = 0; i < 20; i++)
            run(pass, {KEY_W});
        EXPECT_EQ(*e.brush, 14); // W at 14 stays 14
        run(pass, {KEY_Q});
        EXPECT_EQ(stale_panel_pixels(), 0) << "the panel names the new brush at once";
        pass(); // the object editor shows its preview at the start of a pass
        EXPECT_EQ(getpixel(screen, 0, 0), e.corner);
        EXPECT_EQ(getpixel(screen, 8, 8), e.centre);
        click(pass, 70, 155, 1);
        EXPECT_EQ(getpixel(layer, 70, 155), 13);
        EXPECT_EQ(getpixel(screen, tile_px(70) + 5, tile_py(155) + 5), e.centre); // redrawn
        EXPECT_EQ(getpixel(screen, tile_px(74) + 2, tile_py(160) + 2), e.layer == 2 ? MONSTER_COLOUR_BASE + 3 : 60);
        click(pass, 71, 155, 1);
        click(pass, 70, 155, 2);
        EXPECT_EQ(getpixel(layer, 70, 155), 0); // right erases
        click(pass, 71, 155, 3);
        EXPECT_EQ(getpixel(layer, 71, 155), 0); // both erase
        click(pass, 72, 156, 1);
        // Saved: the layer as placed and erased; the brush starts at 1 again.
        BITMAP *expected = copy_of(layer);
        leave(e.layer);
        EXPECT_EQ(saved_differences(e.layer, expected), 0) << layer_error;
        opens[e.layer]();
        EXPECT_EQ(*e.brush, 1);
    }
}

// --- What a designer gets beside the editors' rules ---

// Each editor's panel names the editor, its file, the brush's code and
// name, the tile under the pointer and what the three layers hold there.
TEST_F(Editors, PanelShowsTheBrushThePointerTileAndItsThreeLayers) {
    putpixel(object_layer, 69, 163, 8);
    putpixel(monster_layer, 69, 163, 3);
    save_layer(1);
    save_layer(2);
    const struct {
        int editor;
        std::initializer_list<int> keys;
        const char *expected;
    } cases[] = {
        {0, {KEY_L}, "TERRAIN|map.map|BRUSH 30|wall|AT 69,163|T 60 floor|O  8 heart|M  3 bat|"},
        {1, {KEY_W}, "OBJECTS|obj.map|BRUSH 2|goal|AT 69,163|T 60 floor|O  8 heart|M  3 bat|"},
        {2, {KEY_W}, "MONSTERS|mob.map|BRUSH 2|slime|AT 69,163|T 60 floor|O  8 heart|M  3 bat|"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected);
        opens[c.editor]();
        EXPECT_EQ(open_editor_layer, c.editor);
        run(passes[c.editor], c.keys, tile_px(69) + 3, tile_py(163) + 3);
        mouse_x = tile_px(69) + 3;
        mouse_y = tile_py(163) + 3;
        std::string text = panel_text(c.editor);
        EXPECT_EQ(text.rfind(c.expected, 0), 0u) << text;
        EXPECT_NE(text.find("BS   undo|SH+BS redo|"), std::string::npos) << text;
        // What reached the screen is the editor's panel, not the counters.
        present_frame();
        EXPECT_EQ(stale_panel_pixels(), 0);
        if (c.editor == 2) { // the slime's 30 x 20 art fitted to 32 x 21, in the middle of its 32 x 32 square
            EXPECT_EQ(getpixel(screen, EDITOR_PANEL_X + 24, 36 + 4), makecol(96, 96, 96));
            EXPECT_EQ(getpixel(screen, EDITOR_PANEL_X + 24, 36 + 5), MONSTER_COLOUR_BASE + 2);
        }
        leave(c.editor);
        EXPECT_EQ(open_editor_layer, -1);
        EXPECT_EQ(panel_override, nullptr);
    }
}

// Backspace undoes the last stroke, again and again down to the layer as it
// was opened; Shift+Backspace redoes. Each press acts once.
TEST_F(Editors, UndoAndRedoWalkWholeStrokesInEveryEditor) {
    for (int e = 0; e < 3; e++) {
        SCOPED_TRACE(e);
        opens[e]();
        BITMAP *opened = copy_of(*layers[e]);
        run(passes[e], {KEY_W}); // brush 1 (objects, monsters) or 1 more than kept (terrain)
        int brush = editor_brush(e);
        // Stroke 1: three tiles; stroke 2: two tiles, one over stroke 1.
        for (int tx : {68, 69, 70})
            click(passes[e], tx, 155, 1);
        run(passes[e], {});
        for (int tx : {70, 71})
            click(passes[e], tx, 156 - (tx == 70), 1);
        run(passes[e], {});
        EXPECT_EQ(history_undo_count(), 2);
        auto code = [&](int tx, int ty) { return getpixel(*layers[e], tx, ty); };
        int floor = getpixel(opened, 71, 156);
        EXPECT_EQ(code(71, 156), brush);
        run(passes[e], {KEY_BACKSPACE});
        run(passes[e], {KEY_BACKSPACE}); // still held as the passes see it: no second undo
        EXPECT_EQ(history_undo_count(), 1);
        run(passes[e], {});
        run(passes[e], {KEY_BACKSPACE}); // a second press
        EXPECT_EQ(code(68, 155), getpixel(opened, 68, 155));
        EXPECT_EQ(code(71, 156), floor);
        EXPECT_EQ(history_undo(), false) << "the bottom of the history";
        // Held over two passes, one press: one redo.
        run(passes[e], {});
        key[KEY_LSHIFT] = key[KEY_BACKSPACE] = 1;
        passes[e]();
        passes[e]();
        release_all_input();
        EXPECT_EQ(code(69, 155), brush);
        EXPECT_EQ(code(71, 156), floor);
        run(passes[e], {});
        run(passes[e], {KEY_LSHIFT, KEY_BACKSPACE});
        EXPECT_EQ(code(71, 156), brush);
        EXPECT_EQ(history_redo(), false);
        // A new stroke after an undo drops what could be redone.
        history_undo();
        click(passes[e], 75, 160, 1);
        EXPECT_EQ(history_redo_count(), 0);
        leave(e);
        destroy_bitmap(opened);
    }
}

static int differing_tiles(BITMAP *a, BITMAP *b) {
    int n = 0;
    for (int y = 0; y < a->h; y++)
        for (int x = 0; x < a->w; x++)
            n += getpixel(a, x, y) != getpixel(b, x, y);
    return n;
}

// Shift+Esc asks first, also when Shift is still held from a redo; Esc goes
// back to editing, D drops the edits: the file stays as it was, the layer,
// the view and the player as the editor opened them.
TEST_F(Editors, ShiftEscAsksThenDropsTheEditsAndPutsViewAndPlayerBack) {
    for (int e = 0; e < 3; e++) {
        SCOPED_TRACE(e);
        struct stat before, after;
        ASSERT_EQ(stat(layer_file_name(e), &before), 0);
        std::vector<unsigned char> bytes = file_bytes(layer_file_name(e));
        player_x = 100;
        int opened_y = player_y += 3;
        opens[e]();
        BITMAP *opened = copy_of(*layers[e]);
        click(passes[e], 69, 160, 1);
        run(passes[e], {KEY_BACKSPACE});
        run(passes[e], {KEY_RIGHT});
        player_x = 40; // as the camera's follow step may pin him
        EXPECT_FALSE(run(passes[e], {KEY_LSHIFT, KEY_BACKSPACE, KEY_ESC})); // redo, then Esc with Shift held
        EXPECT_EQ(editor_question, ASK_DISCARD);
        std::string text = panel_text(e);
        EXPECT_EQ(text.substr(text.find("|Drop")),
                  "|Drop every|unsaved|edit of|" + std::string(layer_file_name(e)) + "?||D  drop|ESC  back|");
        EXPECT_FALSE(run(passes[e], {KEY_ESC}));  // still the same press
        EXPECT_FALSE(run(passes[e], {}));
        EXPECT_FALSE(run(passes[e], {KEY_ESC}));  // a new one: back to editing
        EXPECT_EQ(editor_question, ASK_NONE);
        EXPECT_FALSE(run(passes[e], {KEY_ESC, KEY_RSHIFT}));
        EXPECT_FALSE(run(passes[e], {}));
        EXPECT_FALSE(run(passes[e], {KEY_ESC, KEY_RSHIFT})); // asked again
        EXPECT_TRUE(run(passes[e], {KEY_D}));
        closes[e]();
        EXPECT_EQ(file_bytes(layer_file_name(e)), bytes);
        ASSERT_EQ(stat(layer_file_name(e), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino) << "the file was replaced";
        EXPECT_EQ(differing_tiles(opened, *layers[e]), 0);
        EXPECT_EQ(view_tx * 1000 + player_x, 66 * 1000 + 100);
        EXPECT_EQ(view_ty * 1000 + player_y, 151 * 1000 + opened_y);
        destroy_bitmap(opened);
    }
}

// Esc when the file changed on disk since the editor read it writes
// nothing yet: S saves the edits over it, D keeps the file (and drops the
// edits), Esc goes back to editing.
TEST_F(Editors, AFileChangedOnDiskIsNotOverwrittenUnasked) {
    for (int answer : {KEY_S, KEY_D}) {
        SCOPED_TRACE(answer);
        monster_editor_open();
        click(monster_editor_pass, 70, 155, 1);
        BITMAP *mine = copy_of(monster_layer), *theirs = copy_of(monster_layer);
        clear_bitmap(theirs);
        putpixel(theirs, 80, 160, 9);
        ASSERT_EQ(write_layer_file("mob.map", theirs, palette), 0);
        std::vector<unsigned char> their_bytes = file_bytes("mob.map");
        EXPECT_FALSE(run(monster_editor_pass, {KEY_ESC}));
        EXPECT_EQ(editor_question, ASK_FILE_CHANGED);
        EXPECT_EQ(panel_text(2), "MONSTERS|mob.map||mob.map|changed on|disk since|it was|read.||"
                                 "S  save|  my edits|D  keep|  the file|ESC  back|");
        EXPECT_EQ(file_bytes("mob.map"), their_bytes);
        EXPECT_TRUE(run(monster_editor_pass, {answer}));
        monster_editor_close();
        BITMAP *kept = answer == KEY_S ? mine : theirs;
        EXPECT_EQ(saved_differences(2, copy_of(kept)), 0);
        EXPECT_EQ(differing_tiles(monster_layer, kept), 0);
        destroy_bitmap(mine);
        destroy_bitmap(theirs);
    }
}

// A world of another size written while the game runs: each editor refuses
// its layer, says so on its panel, paints nothing and leaves the file alone.
TEST_F(Editors, AWorldResizedOnDiskIsNeverOverwritten) {
    BITMAP *bigger = create_bitmap_ex(8, 210, 200);
    clear_to_color(bigger, 72);
    for (int l = 0; l < 3; l++)
        ASSERT_EQ(write_layer_file(layer_file_name(l), bigger, palette), 0);
    std::vector<unsigned char> bytes = file_bytes("obj.map");
    testing::internal::CaptureStderr();
    object_editor_open();
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("obj.map: not reloaded (210x200 tiles, but map.map is 200x200); the editor leaves the file"),
              std::string::npos) << said;
    EXPECT_NE(panel_text(1).find("!Not|loaded:|210x200|"), std::string::npos) << panel_text(1);
    click(object_editor_pass, 70, 155, 1);
    EXPECT_EQ(getpixel(object_layer, 70, 155), 0);
    leave(1);
    EXPECT_EQ(file_bytes("obj.map"), bytes);
    destroy_bitmap(bigger);
}

// A save that fails keeps the edits: the game's panel says "UNSAVED", the
// next opening edits them (not the old file, nor what play changed since),
// and its Esc saves them.
TEST_F(Editors, EditsOfAFailedSaveWaitForTheNextSave) {
    std::vector<unsigned char> old_bytes = file_bytes("map.map");
    editor_last_terrain = 30;
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = {100, RLIM_INFINITY}, none = {RLIM_INFINITY, RLIM_INFINITY};
    for (int tx : {70, 72}) { // two saves fail in turn
        terrain_editor_open();
        click(terrain_editor_pass, tx, 155, 1);
        setrlimit(RLIMIT_FSIZE, &small);
        testing::internal::CaptureStderr();
        leave(0);
        testing::internal::GetCapturedStderr();
        setrlimit(RLIMIT_FSIZE, &none);
        EXPECT_EQ(file_bytes("map.map"), old_bytes);
        EXPECT_STREQ(panel_note, "UNSAVED");
        putpixel(terrain_layer, 71, 155, 68); // a blast in play
    }
    terrain_editor_open();
    EXPECT_EQ(getpixel(terrain_layer, 70, 155) + getpixel(terrain_layer, 72, 155), 30 + 30);
    EXPECT_EQ(getpixel(terrain_layer, 71, 155), 60);
    EXPECT_NE(panel_text(0).find("!unsaved|"), std::string::npos) << panel_text(0);
    BITMAP *expected = copy_of(terrain_layer);
    leave(0);
    EXPECT_EQ(saved_differences(0, expected), 0);
    EXPECT_EQ(panel_note, nullptr);
}

// Tiles outside the layer are striped in the editors; play draws them as
// code 0 as before.
TEST_F(Editors, OutsideTheLayerIsStripedInEditorModesOnly) {
    view_tx = -3;
    view_ty = 10;
    int black = makecol(0, 0, 0), white = makecol(255, 255, 255);
    for (int mode : {0, 1, 2}) {
        SCOPED_TRACE(mode);
        scroll_px = scroll_py = 0;
        draw_view(mode);
        // Tile (-3, 10) is at (0, 0): stripes run down to the left, 4 pixels wide.
        EXPECT_EQ(getpixel(back_buffer, 0, 0), mode ? black : TILE0_COLOUR);
        EXPECT_EQ(getpixel(back_buffer, 4, 0), mode ? white : TILE0_COLOUR);
        EXPECT_EQ(getpixel(back_buffer, 0, 4), mode ? white : TILE0_COLOUR);
        // Tile (0, 10) lies inside the layer and is drawn from its code.
        EXPECT_EQ(getpixel(back_buffer, 48 + 8, 0 + 3), 72);
    }
}

// The panel warns of a monster that would start in a wall and an object
// that can never be taken, by the same rules as the world check.
TEST_F(Editors, PanelWarnsOfAMonsterInAWallAndAnObjectNeverTaken) {
    putpixel(terrain_layer, 71, 158, 30);
    putpixel(monster_layer, 70, 157, 2); // its 2 x 2 tiles reach the wall at (71, 158)
    putpixel(object_layer, 71, 158, 1);  // on the wall
    putpixel(object_layer, 72, 160, 1);  // on floor
    save_layer(0);
    save_layer(1);
    save_layer(2);
    monster_editor_open();
    const struct { int tx, ty; const char *warnings; } cases[] = {
        {70, 157, "!monster|in wall|"}, {71, 158, "!object|untakeable|"}, {72, 160, ""}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.warnings);
        run(monster_editor_pass, {}, tile_px(c.tx) + 2, tile_py(c.ty) + 2);
        mouse_x = tile_px(c.tx) + 2;
        mouse_y = tile_py(c.ty) + 2;
        EXPECT_EQ(panel_text(2, true), c.warnings);
    }
    leave(2);
}

// A stroke that walls the goal in is told on the panel at once; its undo
// takes the warning away.
TEST_F(Editors, PanelWarnsWhenAStrokeLeavesTheGoalOutOfReach) {
    putpixel(object_layer, 79, 152, OBJECT_GOAL); // in the start room's top right corner
    putpixel(terrain_layer, 80, 158, CODE_EXIT);   // a door east, which the proof measures beyond
    putpixel(terrain_layer, 80, 159, CODE_EXIT);
    save_layer(0);
    save_layer(1);
    auto warnings = [] { return panel_text(0, true); };
    editor_last_terrain = CODE_WALL;
    find_room_bounds(70, 160);
    terrain_editor_open();
    EXPECT_EQ(warnings(), "");
    for (int t : {78152, 78153, 79153}) // one stroke: the button stays down
        run(terrain_editor_pass, {}, tile_px(t / 1000) + 8, tile_py(t % 1000) + 8, 1);
    run(terrain_editor_pass, {});
    EXPECT_EQ(warnings(), "!the goal|is out of|reach|");
    // Asking the proof leaves the room being played as it was.
    EXPECT_EQ(std::vector<int>({room_left, room_top, room_right, room_bottom}), std::vector<int>({66, 151, 80, 165}));
    run(terrain_editor_pass, {KEY_BACKSPACE});
    EXPECT_EQ(warnings(), "");
    leave(0);
}
