// test_view.cpp -- the camera's follow and re-basing steps, view drawing, panel and frames
#include <gtest/gtest.h>
#include "test_support.h"
#include "assets.h"
#include "layers.h"
#include "view.h"
#include "player.h"
#include "monsters.h"
#include "weapons.h"

namespace {

// A 200 x 200 world of floor 72 with a wide room: the origin may run 50 .. 90
// on x and 140 .. 170 on y. The player stands inside the box, nothing scrolls.
void wide_room() {
    make_world(200, 200, CODE_FLOOR);
    room_left = 50;
    room_right = 104;
    room_top = 140;
    room_bottom = 184;
    player_x = 100;
    player_y = 110;
}

void place_view(int tx, int ty, int px, int py) {
    view_tx = tx;
    view_ty = ty;
    scroll_px = px;
    scroll_py = py;
}

// One of each world-anchored thing that the camera shifts, and two it must not:
// an alive monster past monster_count, a dead monster, a flying shot in the
// last slot, a shot at its impact, and the lit bomb.
void place_movers() {
    monsters[57] = Monster{1, 100, 100, 0, 0, 30, 20, 2, 5};
    monsters[3] = Monster{2, 100, 100, 0, 0, 30, 20, 2, 5};
    shots[999] = Shot{100, 100, DIR_RIGHT, 1};
    shots[0] = Shot{100, 100, DIR_RIGHT, 3};
    bomb_state = 1;
    bomb_x = bomb_y = 100;
}

// Every mover that should shift has moved by (dx, dy); the others stay.
void expect_shifted(int dx, int dy) {
    EXPECT_EQ(monsters[57].x, 100 + dx);
    EXPECT_EQ(monsters[57].y, 100 + dy);
    EXPECT_EQ(shots[999].x, 100 + dx);
    EXPECT_EQ(shots[999].y, 100 + dy);
    EXPECT_EQ(bomb_x, 100 + dx);
    EXPECT_EQ(bomb_y, 100 + dy);
    EXPECT_EQ(monsters[3].x, 100);
    EXPECT_EQ(shots[0].x, 100);
    EXPECT_EQ(shots[0].y, 100);
}

// Terrain codes 1..50 varying from tile to tile, so any misplaced tile shows.
int pattern_code(int tx, int ty) { return 1 + (tx * 3 + ty * 7) % 50; }

bool play_field_has_colour(int colour) {
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 240; x++)
            if (getpixel(back_buffer, x, y) == colour)
                return true;
    return false;
}

// The panel as it should look: the art with three counters centred on x = 280.
BITMAP *reference_panel(const char *score_text, const char *hp_text, const char *bombs_text) {
    BITMAP *ref = create_bitmap(320, 240);
    clear_to_color(ref, PANEL_COLOUR);
    textprintf_centre_ex(ref, font, 280, 10, 0, -1, "%s", score_text);
    textprintf_centre_ex(ref, font, 280, 40, 0, -1, "%s", hp_text);
    textprintf_centre_ex(ref, font, 280, 70, 0, -1, "%s", bombs_text);
    return ref;
}

int panel_differences(BITMAP *a, BITMAP *b) {
    int n = 0;
    for (int y = 0; y < 240; y++)
        for (int x = 240; x < 320; x++)
            n += getpixel(a, x, y) != getpixel(b, x, y);
    return n;
}

// A back buffer whose colours vary across the play field (never 0).
void fill_back_buffer_pattern() {
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 320; x++)
            putpixel(back_buffer, x, y, 1 + (x + 3 * y) % 200);
}

// What the screen's play field must hold in a lit-window dark frame: the
// back buffer through the light table inside the lamp circle, black elsewhere.
int dark_frame_mismatches(int x0, int y0) {
    int bad = 0;
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 240; x++) {
            int lx = x - x0, ly = y - y0;
            int level = (lx >= 0 && lx < 160 && ly >= 0 && ly < 160) ? getpixel(lamp_sprite, lx, ly) : 0;
            int expected = level ? light_table.data[level][getpixel(back_buffer, x, y)] : 0;
            bad += getpixel(screen, x, y) != expected;
        }
    return bad;
}

// One call of the follow step: the room's x bounds, the view and player
// before, the view and player after, and how far the world was shifted.
struct FollowCase {
    const char *rule;
    int left, right;
    int tx, ty, px, py, x, y;
    int tx2, ty2, px2, py2, x2, y2;
    int dx, dy;
};

const FollowCase follow_cases[] = {
    {"past the right edge in mid-room", 50, 104, 70, 150, 0, 0, 150, 110, 70, 150, 2, 0, 148, 110, -2, 0},
    {"offset of exactly 16 does not wrap", 50, 104, 70, 150, 14, 0, 150, 110, 70, 150, 16, 0, 148, 110, -2, 0},
    {"offset of 17 wraps", 50, 104, 70, 150, 14, 0, 151, 110, 71, 150, 1, 0, 148, 110, -3, 0},
    {"off the left bound, told from the next tile", 50, 104, 50, 150, 0, 0, 151, 110, 51, 150, -13, 0, 148, 110, -3, 0},
    {"reaching the right bound drops pixels", 50, 104, 89, 150, 15, 0, 153, 110, 90, 150, 0, 0, 148, 110, -1, 0},
    {"at the right bound the player walks on", 50, 104, 90, 150, 0, 0, 200, 110, 90, 150, 0, 0, 200, 110, 0, 0},
    {"wraps once: 20 beyond", 50, 104, 70, 150, 0, 0, 168, 110, 71, 150, 4, 0, 148, 110, -20, 0},
    {"wraps once: 40 beyond leaves 24", 50, 104, 70, 150, 0, 0, 188, 110, 71, 150, 24, 0, 148, 110, -40, 0},
    {"15-wide room, right", 60, 74, 60, 150, 0, 0, 220, 110, 60, 150, 0, 0, 220, 110, 0, 0},
    {"15-wide room, left", 60, 74, 60, 150, 0, 0, 5, 110, 60, 150, 0, 0, 5, 110, 0, 0},
    {"past the left edge in mid-room", 50, 104, 70, 150, 0, 0, 77, 110, 70, 150, -3, 0, 80, 110, 3, 0},
    {"offset of exactly -16 does not wrap", 50, 104, 70, 150, -14, 0, 78, 110, 70, 150, -16, 0, 80, 110, 2, 0},
    {"left from the right bound", 50, 104, 90, 150, 0, 0, 77, 110, 89, 150, 13, 0, 80, 110, 3, 0},
    {"past the bottom edge", 50, 104, 70, 150, 0, 0, 100, 131, 70, 150, 0, 3, 100, 128, 0, -3},
    {"up to the top bound, clamped", 50, 104, 70, 141, 0, -10, 100, 88, 70, 140, 0, 0, 100, 96, 0, 6},
    // On an edge nothing runs. The views sit on a bound with an offset, where
    // a block run with d = 0 would still move the origin a tile.
    {"on the right edge", 50, 104, 50, 150, 3, -5, 148, 110, 50, 150, 3, -5, 148, 110, 0, 0},
    {"on the left edge", 50, 104, 90, 150, 3, -5, 80, 110, 90, 150, 3, -5, 80, 110, 0, 0},
    {"on the top edge", 50, 104, 70, 170, 3, -5, 100, 96, 70, 170, 3, -5, 100, 96, 0, 0},
    {"on the bottom edge", 50, 104, 70, 140, 3, -5, 100, 128, 70, 140, 3, -5, 100, 128, 0, 0},
};

} // namespace

TEST(ViewFollow, CameraFollowsThePlayerWithinTheRoom) {
    for (const FollowCase &c : follow_cases) {
        SCOPED_TRACE(c.rule);
        wide_room();
        room_left = c.left;
        room_right = c.right;
        place_view(c.tx, c.ty, c.px, c.py);
        place_movers();
        player_x = c.x;
        player_y = c.y;
        draw_view(0);
        EXPECT_EQ(view_tx, c.tx2);
        EXPECT_EQ(view_ty, c.ty2);
        EXPECT_EQ(scroll_px, c.px2);
        EXPECT_EQ(scroll_py, c.py2);
        EXPECT_EQ(player_x, c.x2);
        EXPECT_EQ(player_y, c.y2);
        expect_shifted(c.dx, c.dy);
    }
}

TEST(ViewDrawing, TilesLandWhereTheViewPutsThem) {
    const int offsets[5][2] = {{16, 16}, {-16, -16}, {16, -16}, {5, -9}, {0, 0}};
    for (const auto &o : offsets) {
        make_world(200, 200, CODE_FLOOR);
        for (int ty = 140; ty < 180; ty++)
            for (int tx = 55; tx < 95; tx++)
                putpixel(terrain_layer, tx, ty, pattern_code(tx, ty));
        place_view(70, 155, o[0], o[1]);
        player_x = 100;
        player_y = 110;
        draw_view(0);
        int bad = 0;
        for (int y = 0; y < 240; y++)
            for (int x = 0; x < 240; x++) {
                int tx = view_tx + ((x + scroll_px) >> 4), ty = view_ty + ((y + scroll_py) >> 4);
                bad += getpixel(back_buffer, x, y) != pattern_code(tx, ty);
            }
        EXPECT_EQ(bad, 0) << "offsets " << o[0] << ", " << o[1];
    }
}

TEST(ViewDrawing, DarkTileInTheHiddenRingDarkensTheFrame) {
    make_world(200, 200, CODE_FLOOR);
    place_view(70, 155, 0, 0);
    player_x = 100;
    player_y = 110;
    putpixel(terrain_layer, 69, 160, CODE_DARK_A);
    draw_view(0);
    EXPECT_EQ(room_lit, 0);
    EXPECT_FALSE(play_field_has_colour(CODE_DARK_A));

    // The 17 x 17 block ends one tile past the fifteenth column.
    putpixel(terrain_layer, 69, 160, CODE_FLOOR);
    putpixel(terrain_layer, 85, 160, CODE_DARK_B);
    draw_view(1);
    EXPECT_EQ(room_lit, 0);
    putpixel(terrain_layer, 85, 160, CODE_FLOOR);
    putpixel(terrain_layer, 86, 160, CODE_DARK_B);
    draw_view(2);
    EXPECT_EQ(room_lit, 1);
}

TEST(ViewDrawing, HighCodesLookLikeFloorInTheGameAndShowTheirOwnArtInEditors) {
    make_world(200, 200, CODE_FLOOR);
    place_view(70, 155, 0, 0);
    player_x = 100;
    player_y = 110;
    putpixel(terrain_layer, 72, 158, 87);
    putpixel(terrain_layer, 74, 158, 120); // no art entry at 134
    putpixel(terrain_layer, 76, 158, 85);  // the lowest code shown as floor
    putpixel(terrain_layer, 78, 158, 84);  // still its own entry, object 10
    int x = tile_px(72), y = tile_py(158), hx = tile_px(74);
    draw_view(0);
    EXPECT_EQ(getpixel(back_buffer, tile_px(76) + 5, y + 5), CODE_FLOOR);
    EXPECT_EQ(getpixel(back_buffer, tile_px(78) + 5, y + 5), OBJECT_COLOUR_BASE + 10);
    EXPECT_EQ(getpixel(back_buffer, x + 1, y + 1), CODE_FLOOR);
    EXPECT_EQ(getpixel(back_buffer, x + 5, y + 5), CODE_FLOOR);
    EXPECT_EQ(getpixel(back_buffer, hx + 1, y + 1), CODE_FLOOR);
    EXPECT_EQ(getpixel(terrain_layer, 72, 158), 87);

    // Editors: 87 is the entry of object 13, blitted opaque; 120 the placeholder.
    draw_view(1);
    EXPECT_EQ(getpixel(back_buffer, x + 1, y + 1), 0);
    EXPECT_EQ(getpixel(back_buffer, x + 5, y + 5), OBJECT_COLOUR_BASE + 13);
    BITMAP *placeholder = game_bitmap(-1);
    int bad = 0;
    for (int j = 0; j < 16; j++)
        for (int i = 0; i < 16; i++)
            if (i != 8 || j != 8) // the editor's dot
                bad += getpixel(back_buffer, hx + i, y + j) != getpixel(placeholder, i, j);
    EXPECT_EQ(bad, 0);
}

TEST(ViewDrawing, TilesOutsideTheLayerDrawAsBoundary) {
    make_world(80, 200, CODE_FLOOR); // columns 80 and up lie outside
    place_view(70, 155, 0, 0);
    player_x = 100;
    player_y = 110;
    draw_view(0);
    EXPECT_EQ(getpixel(back_buffer, tile_px(80) + 3, 100), TILE0_COLOUR);
    EXPECT_EQ(getpixel(back_buffer, tile_px(84) + 15, 100), TILE0_COLOUR);
    EXPECT_EQ(getpixel(back_buffer, tile_px(79) + 15, 100), CODE_FLOOR);
    draw_view(1);
    EXPECT_EQ(getpixel(back_buffer, tile_px(81) + 8, tile_py(160) + 8), 0);
    EXPECT_EQ(getpixel(back_buffer, tile_px(81) + 3, tile_py(160) + 8), TILE0_COLOUR);
}

TEST(ViewDrawing, TerrainEditorMarksCodesWithDotsAndDarkTilesWithALine) {
    make_world(200, 200, CODE_FLOOR);
    place_view(70, 155, 0, 0);
    player_x = 100;
    player_y = 110;
    putpixel(terrain_layer, 71, 157, 0);
    putpixel(terrain_layer, 72, 157, 30);
    putpixel(terrain_layer, 73, 157, 51);
    putpixel(terrain_layer, 74, 157, 52);
    putpixel(terrain_layer, 75, 157, CODE_DARK_A);
    putpixel(object_layer, 75, 157, 4);
    int y = tile_py(157);
    auto centre = [&](int tx) { return getpixel(back_buffer, tile_px(tx) + 8, y + 8); };
    auto at = [&](int tx, int d) { return getpixel(back_buffer, tile_px(tx) + d, y + d); };

    draw_view(1);
    EXPECT_EQ(centre(71), 0);
    EXPECT_EQ(centre(72), 30);
    EXPECT_EQ(centre(73), 51);
    EXPECT_EQ(centre(74), 73);
    EXPECT_EQ(centre(76), 73); // plain floor 72
    // The dark tile: line, then its object, then the dot.
    EXPECT_EQ(at(75, 0), 255);
    EXPECT_EQ(at(75, 2), 255);
    EXPECT_EQ(at(75, 15), 255);
    EXPECT_EQ(at(75, 5), OBJECT_COLOUR_BASE + 4);
    EXPECT_EQ(centre(75), 73);

    for (int mode : {0, 2}) {
        draw_view(mode);
        EXPECT_EQ(centre(71), TILE0_COLOUR);
        EXPECT_EQ(centre(74), 52);
        EXPECT_EQ(centre(76), CODE_FLOOR);
        EXPECT_EQ(at(75, 2), CODE_DARK_A);
        EXPECT_EQ(centre(75), OBJECT_COLOUR_BASE + 4);
    }
}

TEST(ViewDrawing, MonsterEditorDrawsMonstersOverAllTiles) {
    make_world(200, 200, CODE_FLOOR);
    place_view(70, 155, 0, 0);
    player_x = 100;
    player_y = 110;
    putpixel(object_layer, 72, 158, 2);
    putpixel(monster_layer, 72, 158, 3);
    putpixel(monster_layer, 75, 160, 200); // a kind with no art
    int x = tile_px(72), y = tile_py(158);
    draw_view(0);
    EXPECT_EQ(getpixel(back_buffer, x + 5, y + 5), OBJECT_COLOUR_BASE + 2);
    EXPECT_EQ(getpixel(back_buffer, x + 20, y + 5), CODE_FLOOR);
    draw_view(2);
    EXPECT_EQ(getpixel(back_buffer, x + 5, y + 5), MONSTER_COLOUR_BASE + 3);
    EXPECT_EQ(getpixel(back_buffer, x + 20, y + 5), MONSTER_COLOUR_BASE + 3);  // over the next tile
    EXPECT_EQ(getpixel(back_buffer, x + 29, y + 19), MONSTER_COLOUR_BASE + 3);
    EXPECT_EQ(getpixel(back_buffer, x + 30, y + 5), CODE_FLOOR);
    BITMAP *placeholder = game_bitmap(-1);
    EXPECT_EQ(getpixel(back_buffer, tile_px(75), tile_py(160)), getpixel(placeholder, 0, 0));
}

TEST(ViewPlayer, GhostIsTranslucentOnlyWithLeftControlAndTheCloak) {
    make_world(200, 200, CODE_FLOOR);
    player_x = 50;
    player_y = 60;
    player_frame = 12;
    const int ghost = trans_table.data[PLAYER_COLOUR_BASE + 12][CODE_FLOOR];
    ASSERT_NE(ghost, PLAYER_COLOUR_BASE + 12);
    struct Case { int lcontrol, rcontrol, cloak, colour; };
    const Case cases[] = {
        {1, 0, 1, ghost},
        {1, 0, 0, PLAYER_COLOUR_BASE + 12},
        {0, 0, 1, PLAYER_COLOUR_BASE + 12},
        {0, 1, 1, PLAYER_COLOUR_BASE + 12},
    };
    for (const Case &c : cases) {
        clear_to_color(back_buffer, CODE_FLOOR);
        key[KEY_LCONTROL] = c.lcontrol;
        key[KEY_RCONTROL] = c.rcontrol;
        has_ghost = c.cloak;
        draw_player();
        EXPECT_EQ(getpixel(back_buffer, 50, 60), c.colour);
        EXPECT_EQ(getpixel(back_buffer, 73, 91), c.colour);
        EXPECT_EQ(getpixel(back_buffer, 74, 91), CODE_FLOOR);
        EXPECT_EQ(getpixel(back_buffer, 73, 92), CODE_FLOOR);
    }
    release_all_input();
}

TEST(ViewPanel, CountersShowScoreWholeHitPointsAndBombs) {
    make_world(200, 200, CODE_FLOOR);
    score = 1234;
    bombs = 7;
    player_hp = 20000;
    present_frame();
    BITMAP *ref = reference_panel("SCORE:1234", "HP:200", "BOMBS:7");
    EXPECT_EQ(panel_differences(back_buffer, ref), 0);
    EXPECT_EQ(panel_differences(screen, ref), 0);
    destroy_bitmap(ref);

    player_hp = 199;
    draw_panel(back_buffer);
    ref = reference_panel("SCORE:1234", "HP:1", "BOMBS:7");
    EXPECT_EQ(panel_differences(back_buffer, ref), 0);
    destroy_bitmap(ref);
    ref = reference_panel("SCORE:1234", "HP:199", "BOMBS:7");
    EXPECT_GT(panel_differences(back_buffer, ref), 0);
    destroy_bitmap(ref);
}

TEST(ViewPresent, LitFrameCopiesTheBackBufferWhole) {
    make_world(200, 200, CODE_FLOOR);
    fill_back_buffer_pattern();
    clear_bitmap(screen);
    present_frame();
    int bad = 0;
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 320; x++)
            bad += getpixel(screen, x, y) != getpixel(back_buffer, x, y);
    EXPECT_EQ(bad, 0);
}

TEST(ViewPresent, DarkRoomWithoutLampIsBlackBesideThePanel) {
    make_world(200, 200, CODE_FLOOR);
    fill_back_buffer_pattern();
    player_x = 100;
    player_y = 100;
    present_dark_frame();
    EXPECT_EQ(dark_frame_mismatches(10000, 10000), 0);
    EXPECT_EQ(getpixel(screen, 300, 200), PANEL_COLOUR);
    EXPECT_EQ(color_map, &light_table);
    EXPECT_EQ(getpixel(back_buffer, 50, 50), 1 + (50 + 150) % 200); // left as it was
}

TEST(ViewPresent, LampLightsACircleNotASquare) {
    make_world(200, 200, CODE_FLOOR);
    fill_back_buffer_pattern();
    has_lamp = 1;
    player_x = 100;
    player_y = 100;
    present_dark_frame();
    EXPECT_EQ(dark_frame_mismatches(32, 34), 0);
    // The window's corners lie outside the circle and stay black.
    EXPECT_EQ(getpixel(lamp_sprite, 2, 2), 0);
    EXPECT_EQ(getpixel(screen, 34, 36), 0);
    EXPECT_EQ(getpixel(screen, 32 + 157, 34 + 157), 0);
    // The middle of the circle shows the view unchanged.
    EXPECT_EQ(getpixel(screen, 112, 114), getpixel(back_buffer, 112, 114));
    EXPECT_EQ(getpixel(screen, 300, 200), PANEL_COLOUR);
}

TEST(ViewPresent, LampWindowIsClippedAtTheFieldsCorners) {
    make_world(200, 200, CODE_FLOOR);
    fill_back_buffer_pattern();
    has_lamp = 1;
    player_x = 0;
    player_y = 0;
    present_dark_frame();
    EXPECT_EQ(dark_frame_mismatches(-68, -66), 0);
    EXPECT_EQ(getpixel(screen, 12, 14), getpixel(back_buffer, 12, 14));
    EXPECT_EQ(getpixel(screen, 100, 10), 0);

    // Past x = 239 the panel covers the window.
    fill_back_buffer_pattern();
    player_x = 220;
    player_y = 100;
    present_dark_frame();
    EXPECT_EQ(dark_frame_mismatches(152, 34), 0);
    EXPECT_EQ(getpixel(screen, 245, 114), PANEL_COLOUR);
}
