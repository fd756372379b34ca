// test_player.cpp -- the arrow-key ramp, collision probes, room exits and pickups
#include <gtest/gtest.h>
#include "test_support.h"
#include "shell.h"
#include "layers.h"
#include "view.h"
#include "player.h"
#include "assets.h"

static void place_player(int x, int y) {
    player_x = x;
    player_y = y;
}

// A 200 x 200 world of floor with the start room (66, 151)..(80, 165) walled
// by code 0 and measured; the view shows it exactly. The back buffer is
// painted a non-zero colour, so every probe reads the terrain under it.
static void start_room(int x = 120, int y = 160) {
    make_world(200, 200, CODE_FLOOR);
    make_room(66, 151, 80, 165, CODE_FLOOR);
    find_room_bounds(view_tx + 8, view_ty + 8);
    clear_to_color(back_buffer, CODE_FLOOR);
    place_player(x, y);
}

// Runs one frame of the arrow keys and returns how far the player moved.
static int frame_moved() {
    int before = player_x + player_y;
    arrow_key_step();
    return player_x + player_y - before;
}

static void hold(int k) {
    release_all_input();
    key[k] = 1;
}

static int object_at(int tx, int ty) { return getpixel(object_layer, tx, ty); }

TEST(Player, RampFromRestIsThreeFiveTimesThenSeven) {
    start_room(40, 100);
    hold(KEY_RIGHT);
    const int ramp[11] = {3, 3, 3, 3, 3, 7, 7, 7, 7, 7, 7};
    for (int f = 0; f < 11; f++)
        EXPECT_EQ(frame_moved(), ramp[f]) << "frame " << f;
    EXPECT_EQ(hold_frames, 9); // the counter stops at the last entry

    // Reversing starts the ramp again; a right-angle turn keeps the speed.
    hold(KEY_LEFT);
    for (int f = 0; f < 5; f++)
        EXPECT_EQ(frame_moved(), -3);
    EXPECT_EQ(frame_moved(), -7);
    hold(KEY_UP);
    EXPECT_EQ(frame_moved(), -7);

    // One frame without arrows restarts it.
    release_all_input();
    EXPECT_EQ(frame_moved(), 0);
    hold(KEY_UP);
    EXPECT_EQ(frame_moved(), -3);
}

TEST(Player, LeftAndRightTogetherCancelAndEndFacingRight) {
    start_room(100, 100);
    key[KEY_LEFT] = key[KEY_RIGHT] = 1;
    for (int f = 0; f < 7; f++)
        EXPECT_EQ(frame_moved(), 0); // each reversal restarts the 3-pixel step
    EXPECT_EQ(player_dir, DIR_RIGHT);
}

TEST(Player, WallTouchingTheCollisionAreaBlocksButTheFigureStillAnimates) {
    start_room(124, 164); // collision area columns 128..143; tile 75 begins at 144
    rectfill(terrain_layer, 75, 152, 75, 164, 30);
    hold(KEY_RIGHT);
    const int frames[5] = {13, 14, 15, 12, 13};
    for (int f = 0; f < 5; f++) {
        EXPECT_EQ(frame_moved(), 0);
        EXPECT_EQ(player_frame, frames[f]);
    }
    EXPECT_EQ(move_player(DIR_RIGHT, 8), 1);
}

// Terrain is wall everywhere, but the back buffer is colour 0 except for one
// pixel: that pixel is the only wall an 8-step request from (100, 100) meets.
TEST(Player, ProbeLinesRunJustOutsideTheCollisionArea) {
    struct Case { int dir, dx, dy, result, moved; };
    const Case cases[] = {
        // Column player_x + 24 from 8 steps: lines 1..4 pass, line 5 blocks.
        {DIR_RIGHT, 24, 20, 1, 4}, {DIR_RIGHT, 24, 31, 1, 4}, {DIR_RIGHT, 20, 25, 1, 0},
        // Rows outside the collision area, and line 8, are never probed.
        {DIR_RIGHT, 24, 19, 0, 7}, {DIR_RIGHT, 24, 32, 0, 7}, {DIR_RIGHT, 27, 25, 0, 7},
        {DIR_LEFT, 3, 20, 1, 0}, {DIR_LEFT, -1, 31, 1, 4}, {DIR_LEFT, 1, 32, 0, 7},
        // Vertical moves leave column player_x + 19 untested.
        {DIR_UP, 4, 19, 1, 0}, {DIR_UP, 18, 15, 1, 4},
        {DIR_UP, 19, 15, 0, 7}, {DIR_UP, 3, 15, 0, 7},
        {DIR_DOWN, 4, 32, 1, 0}, {DIR_DOWN, 18, 36, 1, 4}, {DIR_DOWN, 19, 32, 0, 7},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "dir " << c.dir << " at +" << c.dx << ", +" << c.dy);
        make_world(200, 200, 30);
        place_player(100, 100);
        putpixel(back_buffer, 100 + c.dx, 100 + c.dy, 30);
        EXPECT_EQ(move_player(c.dir, 8), c.result);
        EXPECT_EQ(abs(player_x - 100) + abs(player_y - 100), c.moved);
    }
}

TEST(Player, AnimationCyclesWithinTheFacingsFramesEvenWithoutAStep) {
    struct Case { int frame, dir, steps, after; };
    const Case cases[] = {
        {12, DIR_UP, 1, 0}, {0, DIR_UP, 1, 1}, {3, DIR_UP, 1, 0},
        {3, DIR_DOWN, 1, 4}, {7, DIR_DOWN, 0, 4}, {0, DIR_LEFT, 1, 8},
        {11, DIR_LEFT, 1, 8}, {14, DIR_RIGHT, 1, 15}, {15, DIR_RIGHT, 1, 12},
        {5, DIR_NONE, 8, 5}, {5, 4, 8, 5}, // not a direction: nothing changes
    };
    start_room();
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "frame " << c.frame << " dir " << c.dir);
        place_player(100, 100);
        player_frame = c.frame;
        EXPECT_EQ(move_player(c.dir, c.steps), 0);
        EXPECT_EQ(player_frame, c.after);
        EXPECT_EQ(player_x + player_y, 200);
    }
}

TEST(Player, GhostWalkingNeedsTheCloakAndLeftControl) {
    struct Case { int code, ghost, lctrl, rctrl, passes; };
    const Case cases[] = {
        {CODE_GHOST_WALL_A, 1, 1, 0, 1}, {CODE_GHOST_WALL_B, 1, 1, 0, 1},
        {CODE_GHOST_WALL_A, 0, 1, 0, 0}, {CODE_GHOST_WALL_A, 1, 0, 0, 0},
        {CODE_GHOST_WALL_B, 1, 0, 1, 0}, {23, 1, 1, 0, 0}, {26, 1, 1, 0, 0},
        {CODE_WALKABLE - 1, 1, 1, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << c.code << " ghost " << c.ghost);
        start_room(124, 160);
        rectfill(terrain_layer, 75, 152, 75, 164, c.code); // from column 144
        has_ghost = c.ghost;
        key[KEY_LCONTROL] = c.lctrl;
        key[KEY_RCONTROL] = c.rctrl;
        EXPECT_EQ(move_player(DIR_RIGHT, 8), c.passes ? 0 : 1);
        EXPECT_EQ(player_x, c.passes ? 131 : 124);
    }
}

TEST(Player, ExitsInAllFourDirectionsPlaceThePlayerAndTheView) {
    // scroll is the offset on the axis of the exit; the exit tile lies on line 1.
    struct Case { int dir, scroll, x, y, tx, ty, want_x, want_y, want_tx, want_ty, want_scroll; };
    const Case cases[] = {
        {DIR_RIGHT, 5, 199, 160, 80, 162, 20, 160, 82, 151, 0},
        {DIR_LEFT, -5, 17, 160, 66, 162, 200, 160, 50, 151, 0},
        {DIR_UP, -3, 120, -2, 73, 151, 120, 190, 66, 135, 0},
        {DIR_DOWN, 4, 120, 188, 73, 165, 120, 4, 66, 167, 0},
        // An offset of the other sign stays, and the origin is just past the wall.
        {DIR_RIGHT, -5, 209, 160, 80, 162, 20, 160, 81, 151, -5},
        {DIR_UP, 4, 120, 0, 73, 152, 120, 190, 66, 136, 4},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "dir " << c.dir << " offset " << c.scroll);
        start_room(c.x, c.y);
        bool across = c.dir == DIR_LEFT || c.dir == DIR_RIGHT;
        (across ? scroll_px : scroll_py) = c.scroll;
        putpixel(terrain_layer, c.tx, c.ty, CODE_EXIT);
        EXPECT_EQ(move_player(c.dir, 4), 2);
        EXPECT_EQ(player_x, c.want_x);
        EXPECT_EQ(player_y, c.want_y);
        EXPECT_EQ(view_tx, c.want_tx);
        EXPECT_EQ(view_ty, c.want_ty);
        EXPECT_EQ(across ? scroll_px : scroll_py, c.want_scroll);
    }
}

TEST(Player, RoomChangeAfterAnExitPullsTheOtherAxisIntoTheNewRoom) {
    // A room beside the exit, its exit tile on line 1..3, the other axis's
    // offset, and where that axis's origin must settle.
    struct Case { int dir, key, left, top, right, bottom, tx, ty, scroll, x, y, want; };
    const Case cases[] = {
        {DIR_RIGHT, KEY_RIGHT, 81, 155, 110, 175, 80, 162, 3, 202, 160, 155},
        {DIR_LEFT, KEY_LEFT, 40, 130, 65, 160, 66, 162, 0, 14, 160, 146},
        {DIR_UP, KEY_UP, 70, 120, 100, 150, 73, 151, 6, 115, -4, 70},
        {DIR_DOWN, KEY_DOWN, 50, 166, 75, 190, 73, 165, 0, 115, 192, 61},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "dir " << c.dir);
        start_room(c.x, c.y);
        make_room(c.left, c.top, c.right, c.bottom, CODE_FLOOR);
        putpixel(terrain_layer, c.tx, c.ty, CODE_EXIT);
        bool across = c.dir == DIR_LEFT || c.dir == DIR_RIGHT;
        int &origin = across ? view_ty : view_tx;
        int &scroll = across ? scroll_py : scroll_px;
        int &player = across ? player_y : player_x;
        scroll = c.scroll;
        int world = origin * 16 + scroll + player;
        hold(c.key);
        arrow_key_step();
        EXPECT_EQ(pending_room_change, c.dir);
        room_change_step(pending_room_change);
        EXPECT_EQ(pending_room_change, 7);
        EXPECT_EQ(origin, c.want);
        EXPECT_EQ(scroll, 0);
        EXPECT_EQ(origin * 16 + scroll + player, world); // the player keeps its place
    }
}

TEST(Player, TwoExitsInOneFrameKeepTheLast) {
    start_room(17, 188);           // rows 208..219: tile row 164
    scroll_px = -5;
    scroll_py = 4;
    putpixel(terrain_layer, 66, 164, CODE_EXIT);
    // After the left exit the view origin is (50, 151): the Down line at row
    // 220 over columns 204..218 meets tiles 62 and 63 of row 165.
    putpixel(terrain_layer, 62, 165, CODE_EXIT);
    key[KEY_LEFT] = key[KEY_DOWN] = 1;
    arrow_key_step();
    EXPECT_EQ(pending_room_change, DIR_DOWN);
    EXPECT_EQ(view_tx, 50);
    EXPECT_EQ(view_ty, 167);
}

TEST(Player, ExitOnlyWhenMetBeforeAnyBlockingPoint) {
    // Line 5 at column 144 crosses tile row 162, then 163.
    for (int exit_first = 0; exit_first < 2; exit_first++) {
        start_room(120, 168);
        putpixel(terrain_layer, 75, 162, exit_first ? CODE_EXIT : 30);
        putpixel(terrain_layer, 75, 163, exit_first ? 30 : CODE_EXIT);
        // An exit five pixels ahead is still taken.
        EXPECT_EQ(move_player(DIR_RIGHT, 8), exit_first ? 2 : 1);
        EXPECT_EQ(player_x, exit_first ? 20 : 124);
    }
}

TEST(Player, ObjectsAreTakenOnLinesAheadOfABlockedMove) {
    // Down from y = 157: rows 189..191 on lines 1..3, row 192 (tile row 163) on
    // line 4, over columns 124..138: tiles 73 then 74.
    start_room(120, 157);
    putpixel(object_layer, 73, 163, 1);
    putpixel(terrain_layer, 74, 163, 30);
    EXPECT_EQ(move_player(DIR_DOWN, 8), 1);
    EXPECT_EQ(player_y, 160);      // three pixels: the object's tile is still ahead
    EXPECT_EQ(object_at(73, 163), 0);

    // A point after the blocking one in the same line is never probed.
    start_room(120, 168);          // line 5 at column 144: tile row 162, then 163
    putpixel(terrain_layer, 75, 162, 30);
    putpixel(object_layer, 75, 163, 1);
    putpixel(object_layer, 74, 163, 10); // under lines 1..4, taken on the way
    EXPECT_EQ(move_player(DIR_RIGHT, 8), 1);
    EXPECT_EQ(object_at(75, 163), 1);
    EXPECT_EQ(object_at(74, 163), 0);
}

TEST(Player, ObjectOnTerrainFiftyTwoOrBelowStays) {
    for (int terrain : {CODE_WALKABLE, 30, CODE_WALKABLE + 1}) {
        SCOPED_TRACE(terrain);
        start_room();
        putpixel(terrain_layer, 70, 155, terrain);
        putpixel(object_layer, 70, 155, 1);
        bool taken = terrain > CODE_WALKABLE; // 53 is the lowest code that gives it up
        for (int n = 0; n < 3; n++)
            EXPECT_EQ(probe_point(tile_px(70) + 5, tile_py(155) + 3), terrain);
        EXPECT_EQ(object_at(70, 155), taken ? 0 : 1);
        EXPECT_EQ(samples_played(PICKUP_SOUND), taken ? 1 : 0);
    }
}

TEST(Player, ColourZeroPixelsPassOverWalls) {
    start_room(124, 160);
    rectfill(terrain_layer, 75, 152, 75, 164, 30);
    putpixel(object_layer, 75, 162, 1);
    // The back buffer shows colour 0 where the wall column is.
    rectfill(back_buffer, 144, 0, 159, 239, 0);
    EXPECT_EQ(move_player(DIR_RIGHT, 8), 0);
    EXPECT_EQ(player_x, 131);
    EXPECT_EQ(object_at(75, 162), 1); // nothing is taken through colour 0
    EXPECT_EQ(samples_played(PICKUP_SOUND), 0);
    // Outside the back buffer every point is open ground.
    EXPECT_EQ(probe_point(-1, 10), CODE_WALKABLE);
    EXPECT_EQ(probe_point(10, 240), CODE_WALKABLE);
}

TEST(Player, ProbeRoundsNegativeSumsTowardsMinusInfinity) {
    start_room();
    putpixel(terrain_layer, 65, 155, 60);
    putpixel(terrain_layer, 66, 155, 61);
    putpixel(terrain_layer, 70, 150, 62);
    putpixel(terrain_layer, 70, 151, 63);
    scroll_px = -5;
    // Column 4 with offset -5 is world column 66 * 16 - 1: tile 65.
    EXPECT_EQ(probe_point(4, (155 - 151) * 16), 60);
    EXPECT_EQ(probe_point(5, (155 - 151) * 16), 61);
    scroll_px = 0;
    scroll_py = -16;
    EXPECT_EQ(probe_point((70 - 66) * 16, 0), 62);  // sum -16: one tile up
    EXPECT_EQ(probe_point((70 - 66) * 16, 15), 62); // sum -1
    EXPECT_EQ(probe_point((70 - 66) * 16, 16), 63);
    // A tile outside the terrain layer reads -1.
    view_tx = -3;
    EXPECT_EQ(probe_point(0, 16), -1);
}

TEST(Player, EveryObjectHasItsEffect) {
    struct Case { int code; int *target; int gain; };
    const Case cases[] = {
        {1, &score, 50}, {10, &score, 100}, {13, &score, 1000}, {14, &score, 200},
        {8, &player_hp, 1000}, {12, &bombs, 5}, {5, &has_lamp, 1},
        {11, &has_ghost, 1}, {11, &has_ghost, 0}, // a flag stays 1
        {3, nullptr, 0}, {4, nullptr, 0}, {6, nullptr, 0}, {7, nullptr, 0},
        {9, nullptr, 0}, {15, nullptr, 0}, {200, nullptr, 0}, {255, nullptr, 0},
    };
    start_room();
    EXPECT_EQ(player_hp, 20000); // object 8 raises it above the start: no maximum
    int *counters[] = {&score, &player_hp, &bombs, &has_lamp, &has_ghost};
    int px = tile_px(70) + 8, py = tile_py(155) + 8;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        int before[5] = {score, player_hp, bombs, has_lamp, has_ghost};
        int sounds = samples_played(PICKUP_SOUND);
        putpixel(object_layer, 70, 155, c.code);
        EXPECT_EQ(probe_point(px, py), CODE_FLOOR);
        EXPECT_EQ(probe_point(px, py), CODE_FLOOR); // nothing left the second time
        EXPECT_EQ(object_at(70, 155), 0);
        EXPECT_EQ(samples_played(PICKUP_SOUND), sounds + 1);
        for (int i = 0; i < 5; i++)
            EXPECT_EQ(*counters[i], before[i] + (counters[i] == c.target ? c.gain : 0));
        EXPECT_EQ(game_over, 0);
    }
    putpixel(object_layer, 70, 155, 2);
    probe_point(px, py);
    EXPECT_EQ(game_over, 1);
}
