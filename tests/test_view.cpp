// test_view.cpp -- the camera's follow and re-basing steps, view drawing, panel and frames
#include <gtest/gtest.h>
#include <vector>
#include "test_support.h"
#include "assets.h"
#include "map.h"
#include "view.h"
#include "player.h"
#include "monsters.h"
#include "weapons.h"

namespace {

// A 200 x 200 world of floor with the view at (70, 155) and the player inside
// the box; the room lets the origin run 50 .. 90 on x and 140 .. 170 on y.
void standard_view(int layer_w = 200) {
    make_world(layer_w, 200, CODE_FLOOR);
    room_left = 50, room_right = 104, room_top = 140, room_bottom = 184;
    view_tx = 70, view_ty = 155;
    player_x = 100, player_y = 110;
}

int pixel(int x, int y) { return getpixel(back_buffer, x, y); }

// Pixels of bmp in play-field columns x0 .. x1 - 1 whose colour is not want(x, y).
template <class F> int mismatches(BITMAP *bmp, int x0, int x1, F want) {
    int n = 0;
    for (int y = 0; y < 240; y++)
        for (int x = x0; x < x1; x++)
            n += getpixel(bmp, x, y) != want(x, y);
    return n;
}

// One call of the follow step: the room's x bounds, the view and player
// before, the view and player after, and how far the world was shifted.
struct FollowCase { const char *rule; int left, right, tx, ty, px, py, x, y, tx2, ty2, px2, py2, x2, y2, dx, dy; };

const FollowCase follow_cases[] = {
    {"past the right edge in mid-room", 50, 104, 70, 150, 0, 0, 150, 110, 70, 150, 2, 0, 148, 110, -2, 0},
    {"offset of exactly 16 does not wrap", 50, 104, 70, 150, 14, 0, 150, 110, 70, 150, 16, 0, 148, 110, -2, 0},
    {"offset of 17 wraps", 50, 104, 70, 150, 14, 0, 151, 110, 71, 150, 1, 0, 148, 110, -3, 0},
    {"off the left bound, told from the next tile", 50, 104, 50, 150, 0, 0, 151, 110, 51, 150, -13, 0, 148, 110, -3, 0},
    {"reaching the right bound drops pixels", 50, 104, 89, 150, 15, 0, 153, 110, 90, 150, 0, 0, 148, 110, -1, 0},
    {"at the right and bottom bounds the player walks on", 50, 104, 90, 170, 0, 0, 200, 200, 90, 170, 0, 0, 200, 200, 0, 0},
    {"wraps once: 20 beyond", 50, 104, 70, 150, 0, 0, 168, 110, 71, 150, 4, 0, 148, 110, -20, 0},
    {"wraps once: 40 beyond leaves 24", 50, 104, 70, 150, 0, 0, 188, 110, 71, 150, 24, 0, 148, 110, -40, 0},
    {"15-wide room, right", 60, 74, 60, 150, 0, 0, 220, 110, 60, 150, 0, 0, 220, 110, 0, 0},
    {"15-wide room, left, at the top bound", 60, 74, 60, 140, 0, 0, 5, 50, 60, 140, 0, 0, 5, 50, 0, 0},
    {"40 past the left edge, 3 past the bottom", 50, 104, 70, 150, 0, 0, 40, 131, 69, 150, -24, 3, 80, 128, 40, -3},
    {"-16 does not wrap; clamped at the top", 50, 104, 70, 141, -14, -10, 78, 88, 70, 140, -16, 0, 80, 96, 2, 6},
    {"left from the right bound", 50, 104, 90, 150, 0, 0, 77, 110, 89, 150, 13, 0, 80, 110, 3, 0},
    // A player exactly on an edge: the views sit on a bound with an offset,
    // where a block run with d = 0 would still move the origin a tile.
    {"on the right and top edges", 50, 104, 50, 170, 3, -5, 148, 96, 50, 170, 3, -5, 148, 96, 0, 0},
    {"on the left and bottom edges", 50, 104, 90, 140, 3, -5, 80, 128, 90, 140, 3, -5, 80, 128, 0, 0},
};

} // namespace

TEST(ViewFollow, CameraFollowsThePlayerWithinTheRoomAndShiftsWhatMoves) {
    for (const FollowCase &c : follow_cases) {
        SCOPED_TRACE(c.rule);
        make_world(200, 200, CODE_FLOOR);
        room_left = c.left, room_right = c.right, room_top = 140, room_bottom = 184;
        view_tx = c.tx, view_ty = c.ty, scroll_px = c.px, scroll_py = c.py, player_x = c.x, player_y = c.y;
        // Shifted: an alive monster past monster_count, a flying shot in the last
        // slot, a lit bomb. Kept: a dead monster, a shot at impact, an idle bomb.
        monsters[57] = Monster{1, 100, 100, 0, 0, 30, 20, 2, 5}, monsters[3] = Monster{2, 100, 100, 0, 0, 30, 20, 2, 5};
        shots[999] = Shot{100, 100, DIR_RIGHT, SHOT_FLYING}, shots[0] = Shot{100, 100, DIR_RIGHT, SHOT_IMPACT};
        int lit = (&c - follow_cases) % 2 == 0;
        bomb_state = lit ? BOMB_LIT : BOMB_IDLE, bomb_x = bomb_y = 100;
        draw_view(0);
        EXPECT_EQ((std::vector<int>{view_tx, view_ty, scroll_px, scroll_py, player_x, player_y, monsters[57].x,
                                    monsters[57].y, shots[999].x, shots[999].y, bomb_x, bomb_y, monsters[3].x, shots[0].x}),
                  (std::vector<int>{c.tx2, c.ty2, c.px2, c.py2, c.x2, c.y2, 100 + c.dx, 100 + c.dy, 100 + c.dx,
                                    100 + c.dy, 100 + lit * c.dx, 100 + lit * c.dy, 100, 100}));
    }
}

TEST(ViewDrawing, BlockOf17x17TilesFillsTheFieldAndAnyDarkOneInItDarkensTheFrame) {
    standard_view();
    // Codes 1..50 varying from tile to tile, so any misplaced tile shows.
    auto code = [](int tx, int ty) { return 1 + (tx * 3 + ty * 7) % 50; };
    for (int ty = 140; ty < 180; ty++)
        for (int tx = 55; tx < 95; tx++)
            putpixel(terrain_layer, tx, ty, code(tx, ty));
    // A dark tile out of sight: column 69 left of the field, 85 one past the
    // fifteenth column (both in the block), 68 and 86 beyond the block.
    struct Case { int px, py, tx, mode, lit; };
    for (const Case &c : {Case{16, -16, 69, 0, 0}, Case{-16, 16, 85, 1, 0}, Case{5, -9, 86, 2, 1}, Case{0, 0, 68, 0, 1}}) {
        scroll_px = c.px, scroll_py = c.py;
        putpixel(terrain_layer, c.tx, 160, c.mode ? CODE_DARK_B : CODE_DARK_A);
        draw_view(c.mode);
        putpixel(terrain_layer, c.tx, 160, code(c.tx, 160));
        EXPECT_EQ(room_lit, c.lit) << c.tx;
        EXPECT_EQ(mismatches(back_buffer, 0, 240, [&](int x, int y) {
                      return code(view_tx + ((x + scroll_px) >> 4), view_ty + ((y + scroll_py) >> 4));
                  }), 0) << "offsets " << c.px << ", " << c.py;
    }
}

TEST(ViewDrawing, EachModeShowsTilesObjectsMarksAndMonstersInItsOwnWay) {
    standard_view(80); // columns 80 and up lie outside the layer
    scroll_px = 5, scroll_py = -3;
    const int O = OBJECT_COLOUR_BASE, M = MONSTER_COLOUR_BASE + 3, P = -1; // P: the placeholder
    const int S = -2; // the editors' stripes beyond the layer: white at (3, 3)
    // Tile (tx, ty) holds terrain t, object o and monster m; a pixel (dx, dy) into
    // it in the game, the terrain editor and the monster editor.
    struct Probe { const char *rule; int tx, ty, t, o, m, dx, dy, game, terrain_editor, monster_editor; };
    const Probe probes[] = {
        {"code 0: black dot", 71, 157, 0, 0, 0, 8, 8, TILE0_COLOUR, 0, TILE0_COLOUR},
        {"code 51: no dot", 73, 157, 51, 0, 0, 8, 8, 51, 51, 51},
        {"code 52: dot", 74, 157, 52, 0, 0, 8, 8, 52, 73, 52},
        {"dark tile: line", 75, 157, CODE_DARK_A, 4, 0, 15, 15, CODE_DARK_A, 255, CODE_DARK_A},
        {"dark tile: object over the line", 75, 157, CODE_DARK_A, 4, 0, 5, 5, O + 4, O + 4, O + 4},
        {"dark tile: dot over the object", 75, 157, CODE_DARK_A, 4, 0, 8, 8, O + 4, 73, O + 4},
        {"87 is floor in the game, object 13's entry in editors", 72, 158, 87, 0, 0, 5, 5, CODE_FLOOR, O + 13, O + 13},
        {"87's entry is blitted opaque", 72, 158, 87, 0, 0, 1, 1, CODE_FLOOR, 0, 0},
        {"85 is the lowest code shown as floor", 76, 158, 85, 0, 0, 5, 5, CODE_FLOOR, O + 11, O + 11},
        {"84 keeps its own entry", 78, 158, 84, 0, 0, 5, 5, O + 10, O + 10, O + 10},
        {"120's entry 134 does not exist: placeholder", 74, 158, 120, 0, 0, 5, 1, CODE_FLOOR, P, P},
        {"outside the layer: code 0 in the game, stripes in the editors", 80, 157, 0, 0, 0, 3, 3, TILE0_COLOUR, S, S},
        {"monster over its tile's object", 72, 160, CODE_FLOOR, 2, 3, 5, 5, O + 2, O + 2, M},
        {"ring monster over the tile right and below", 69, 160, CODE_FLOOR, 0, 3, 21, 19, CODE_FLOOR, CODE_FLOOR, M},
        {"a kind without art shows the placeholder", 76, 160, CODE_FLOOR, 0, 200, 0, 0, CODE_FLOOR, CODE_FLOOR, P},
    };
    for (const Probe &p : probes) // outside the layer, putpixel does nothing
        putpixel(terrain_layer, p.tx, p.ty, p.t), putpixel(object_layer, p.tx, p.ty, p.o),
            putpixel(monster_layer, p.tx, p.ty, p.m);
    for (int mode : {0, 1, 2}) {
        draw_view(mode);
        for (const Probe &p : probes) {
            int want = mode == 0 ? p.game : mode == 1 ? p.terrain_editor : p.monster_editor;
            want = want == P ? getpixel(game_bitmap(-1), p.dx, p.dy) : want == S ? makecol(255, 255, 255) : want;
            EXPECT_EQ(pixel(tile_px(p.tx) + p.dx, tile_py(p.ty) + p.dy), want) << p.rule << ", mode " << mode;
        }
    }
    EXPECT_EQ(getpixel(terrain_layer, 72, 158), 87); // the game leaves the layer's code
}

TEST(ViewPlayer, GhostIsTranslucentOnlyWithLeftControlAndTheCloak) {
    standard_view(); // the player at (100, 110)
    player_frame = 12;
    const int solid = PLAYER_COLOUR_BASE + 12, ghost = trans_table.data[solid][CODE_FLOOR];
    ASSERT_NE(ghost, solid);
    struct Case { int lcontrol, rcontrol, cloak, colour; };
    for (const Case &c : {Case{1, 0, 1, ghost}, Case{1, 0, 0, solid}, Case{0, 0, 1, solid}, Case{0, 1, 1, solid}}) {
        clear_to_color(back_buffer, CODE_FLOOR);
        key[KEY_LCONTROL] = c.lcontrol, key[KEY_RCONTROL] = c.rcontrol, has_ghost = c.cloak;
        draw_player();
        EXPECT_EQ((std::vector<int>{pixel(100, 110), pixel(99, 109)}), (std::vector<int>{c.colour, CODE_FLOOR}));
    }
    release_all_input();
}

TEST(ViewPresent, CountersShowBesideTheWholeFieldLitOrOnlyTheLampsCircleDark) {
    make_world(200, 200, CODE_FLOOR);
    for (int y = 0; y < 240; y++) // colours varying across the frame, never 0
        for (int x = 0; x < 320; x++)
            putpixel(back_buffer, x, y, 1 + (x + 3 * y) % 200);
    score = 1234, bombs = 7;
    BITMAP *ref = create_bitmap(320, 240);
    // Mismatches of bmp's panel with the panel showing these counters.
    auto panel_mismatches = [&](BITMAP *bmp, const char *hp) {
        clear_to_color(ref, PANEL_COLOUR);
        textprintf_centre_ex(ref, font, 280, 10, 0, -1, "SCORE:1234");
        textprintf_centre_ex(ref, font, 280, 40, 0, -1, "%s", hp);
        textprintf_centre_ex(ref, font, 280, 70, 0, -1, "BOMBS:7");
        if (panel_note) { // the note of unsaved edits, yellow on black
            rectfill(ref, 244, 210, 315, 226, makecol(0, 0, 0));
            textprintf_centre_ex(ref, font, 280, 214, makecol(255, 200, 0), -1, "UNSAVED");
        }
        return mismatches(bmp, 240, 320, [&](int x, int y) { return getpixel(ref, x, y); });
    };
    for (int hp : {20000, 199}) {
        player_hp = hp;
        panel_note = hp == 199 ? "UNSAVED" : nullptr;
        present_frame();
        EXPECT_EQ(panel_mismatches(back_buffer, hp == 199 ? "HP:1" : "HP:200"), 0) << hp;
        EXPECT_EQ(mismatches(screen, 0, 320, pixel), 0);
    }
    color_map = &trans_table; // as a ghost-walking frame leaves it
    // Each dark frame composes afresh: nothing lit by the one before may linger.
    // At (0, 0) the window is clipped; at x = 220 the panel covers its right part.
    struct Case { int lamp, x, y; };
    for (const Case &c : {Case{1, 100, 100}, Case{1, 0, 0}, Case{1, 220, 100}, Case{0, 100, 100}}) {
        SCOPED_TRACE(c.x);
        has_lamp = c.lamp, player_x = c.x, player_y = c.y;
        present_dark_frame();
        // Inside the lamp's circle the back buffer through the light table, black elsewhere.
        int x0 = c.lamp ? c.x - 68 : 10000, y0 = c.y - 66;
        EXPECT_EQ(mismatches(screen, 0, 240, [&](int x, int y) {
                      int lx = x - x0, ly = y - y0;
                      int level = lx >= 0 && lx < 160 && ly >= 0 && ly < 160 ? getpixel(lamp_sprite, lx, ly) : 0;
                      return level ? light_table.data[level][pixel(x, y)] : 0;
                  }), 0);
        EXPECT_EQ(panel_mismatches(screen, "HP:1"), 0);
    }
    panel_note = nullptr;
    destroy_bitmap(ref);
}
