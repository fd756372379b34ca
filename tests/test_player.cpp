// test_player.cpp -- the arrow-key ramp, collision probes, room exits and pickups
#include <gtest/gtest.h>
#include "test_support.h"
#include "shell.h"
#include "map.h"
#include "view.h"
#include "player.h"
#include "assets.h"
#include <string>
#include <vector>

// A 200 x 200 world of floor with the start room (66, 151)..(80, 165) walled
// by code 0 and measured; the view shows it exactly. The back buffer is
// painted a non-zero colour, so every probe reads the terrain under it.
static void start_room(int x = 120, int y = 160) {
    make_world(200, 200, CODE_FLOOR);
    make_room(66, 151, 80, 165, CODE_FLOOR);
    find_room_bounds(view_tx + 8, view_ty + 8);
    clear_to_color(back_buffer, CODE_FLOOR);
    player_x = x, player_y = y;
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

// The player's place and the view, as "x,y tx,ty scroll_px,scroll_py".
static std::string where() {
    return std::to_string(player_x) + "," + std::to_string(player_y) + " " + std::to_string(view_tx) +
           "," + std::to_string(view_ty) + " " + std::to_string(scroll_px) + "," + std::to_string(scroll_py);
}

// The start room with the player at (124, y) and tile column 75 (from pixel
// column 144, just right of the collision area) filled with `code`.
static void wall_ahead(int y, int code) {
    start_room(124, y);
    rectfill(terrain_layer, 75, 152, 75, 164, code);
}

TEST(Player, RampFromRestIsThreeFiveTimesThenSeven) {
    start_room(40, 100);
    hold(KEY_RIGHT);
    for (int want : {3, 3, 3, 3, 3, 7, 7, 7, 7, 7, 7})
        EXPECT_EQ(frame_moved(), want);
    EXPECT_EQ(hold_frames, 9); // the counter stops at the last entry
    // Reversing starts the ramp again; a right-angle turn keeps the speed.
    hold(KEY_LEFT);
    for (int want : {-3, -3, -3, -3, -3, -7})
        EXPECT_EQ(frame_moved(), want);
    hold(KEY_UP);
    EXPECT_EQ(frame_moved(), -7);

    // One frame without arrows restarts it.
    release_all_input();
    EXPECT_EQ(frame_moved(), 0);
    hold(KEY_UP);
    EXPECT_EQ(frame_moved(), -3);

    // Opposite arrows together reverse twice a frame: Left is read before
    // Right and Up before Down, so the figure stands, facing the later key.
    const int pairs[2][3] = {{KEY_LEFT, KEY_RIGHT, DIR_RIGHT}, {KEY_UP, KEY_DOWN, DIR_DOWN}};
    for (const auto &p : pairs) {
        hold(p[0]);
        key[p[1]] = 1;
        for (int f = 0; f < 3; f++)
            EXPECT_EQ(frame_moved(), 0);
        EXPECT_EQ(player_dir, p[2]);
    }
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
        player_x = player_y = 100;
        putpixel(back_buffer, 100 + c.dx, 100 + c.dy, 30);
        EXPECT_EQ(move_player(c.dir, 8), c.result);
        EXPECT_EQ(abs(player_x - 100) + abs(player_y - 100), c.moved);
    }
}

// The frame advances within the facing's range at every call, even with no
// step, or against a wall already touching the collision area (result 1).
TEST(Player, FigureAnimatesWithinItsFacingsFramesEvenWhenBlocked) {
    struct Case { int frame, dir, steps, after, result; };
    const Case cases[] = {
        {12, DIR_UP, 1, 0, 0}, {0, DIR_UP, 1, 1, 0}, {3, DIR_UP, 1, 0, 0}, {3, DIR_DOWN, 1, 4, 0},
        {7, DIR_DOWN, 0, 4, 0}, {0, DIR_LEFT, 1, 8, 0}, {11, DIR_LEFT, 1, 8, 0},
        {12, DIR_RIGHT, 8, 13, 1}, {14, DIR_RIGHT, 8, 15, 1}, {15, DIR_RIGHT, 8, 12, 1},
        {5, DIR_NONE, 8, 5, 0}, {5, 4, 8, 5, 0}, // not a direction: nothing changes
    };
    wall_ahead(164, 30);
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "frame " << c.frame << " dir " << c.dir);
        player_frame = c.frame;
        EXPECT_EQ(move_player(c.dir, c.steps), c.result);
        EXPECT_EQ(player_frame, c.after);
        EXPECT_EQ(player_x + player_y, 124 + 164);
    }
}

TEST(Player, GhostWalkingNeedsTheCloakAndLeftControl) {
    struct Case { int code, ghost, lctrl, rctrl, passes; };
    const Case cases[] = {
        {CODE_GHOST_WALL_A, 1, 1, 0, 1}, {CODE_GHOST_WALL_B, 1, 1, 0, 1},
        {CODE_GHOST_WALL_A, 0, 1, 0, 0}, {CODE_GHOST_WALL_A, 1, 0, 0, 0},
        {CODE_GHOST_WALL_B, 1, 0, 1, 0}, {23, 1, 1, 0, 0}, {26, 1, 1, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << c.code << " ghost " << c.ghost);
        wall_ahead(160, c.code);
        has_ghost = c.ghost;
        key[KEY_LCONTROL] = c.lctrl, key[KEY_RCONTROL] = c.rctrl;
        EXPECT_EQ(move_player(DIR_RIGHT, 8), c.passes ? 0 : 1);
    }
}

TEST(Player, ExitsInAllFourDirectionsPlaceThePlayerAndTheView) {
    // scroll is the offset on the axis of the exit; the exit tile lies on line 1.
    struct Case { int dir, scroll, x, y, tx, ty; const char *want; };
    const Case cases[] = {
        {DIR_RIGHT, 5, 199, 160, 80, 162, "20,160 82,151 0,0"},
        {DIR_LEFT, -5, 17, 160, 66, 162, "200,160 50,151 0,0"},
        {DIR_UP, -3, 120, -2, 73, 151, "120,190 66,135 0,0"},
        {DIR_DOWN, 4, 120, 188, 73, 165, "120,4 66,167 0,0"},
        // An offset of the other sign, or none, stays, and the origin is just past the wall.
        {DIR_RIGHT, -5, 209, 160, 80, 162, "20,160 81,151 -5,0"},
        {DIR_UP, 4, 120, 0, 73, 152, "120,190 66,136 0,4"},
        {DIR_RIGHT, 0, 204, 160, 80, 162, "20,160 81,151 0,0"},
        {DIR_LEFT, 0, 12, 160, 66, 162, "200,160 51,151 0,0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "dir " << c.dir << " offset " << c.scroll);
        start_room(c.x, c.y);
        (c.dir == DIR_LEFT || c.dir == DIR_RIGHT ? scroll_px : scroll_py) = c.scroll;
        putpixel(terrain_layer, c.tx, c.ty, CODE_EXIT);
        EXPECT_EQ(move_player(c.dir, 4), 2);
        EXPECT_EQ(where(), c.want);
    }
}

TEST(Player, TwoExitsInOneFrameKeepTheLast) {
    start_room(17, 188);           // rows 208..219: tile row 164
    scroll_px = -5, scroll_py = 4;
    putpixel(terrain_layer, 66, 164, CODE_EXIT);
    // After the left exit the view origin is (50, 151): the Down line at row
    // 220 over columns 204..218 meets tiles 62 and 63 of row 165.
    putpixel(terrain_layer, 62, 165, CODE_EXIT);
    key[KEY_LEFT] = key[KEY_DOWN] = 1;
    EXPECT_EQ(arrow_key_step(), DIR_DOWN);
    EXPECT_EQ(where(), "200,4 50,167 0,0");
}

// Line 5 at column 144 crosses tile row 162, then 163: what comes before the
// first blocking point counts, exits and objects, and nothing after it.
// Lines 1..4 run over tile column 74, where objects are taken on the way.
TEST(Player, ObjectsAndExitsCountOnlyBeforeTheFirstBlockingPoint) {
    for (int exit_first = 0; exit_first < 2; exit_first++) {
        SCOPED_TRACE(exit_first);
        start_room(120, 168);
        putpixel(terrain_layer, 75, 162, exit_first ? CODE_EXIT : 30);
        putpixel(terrain_layer, 75, 163, exit_first ? 30 : CODE_EXIT);
        putpixel(object_layer, 75, 163, 1);
        putpixel(object_layer, 74, 163, 10);
        EXPECT_EQ(move_player(DIR_RIGHT, 8), exit_first ? 2 : 1);
        EXPECT_EQ(player_x, exit_first ? 20 : 124); // an exit five pixels ahead is taken
        EXPECT_EQ(object_at(75, 163), 1);
        EXPECT_EQ(object_at(74, 163), 0);
    }
}

TEST(Player, ColourZeroPixelsPassOverWalls) {
    wall_ahead(160, 30);
    rectfill(back_buffer, 144, 0, 159, 239, 0); // colour 0 where the wall column is
    EXPECT_EQ(move_player(DIR_RIGHT, 8), 0);
    EXPECT_EQ(player_x, 131);
    EXPECT_EQ(probe_point(-1, 10), CODE_WALKABLE); // off the back buffer: open ground too
}

TEST(Player, ProbeRoundsNegativeSumsTowardsMinusInfinity) {
    start_room();
    putpixel(terrain_layer, 65, 155, 60);
    putpixel(terrain_layer, 70, 150, 62);
    scroll_px = -5;
    // Column 4 with offset -5 is world column 66 * 16 - 1: tile 65.
    EXPECT_EQ(probe_point(4, (155 - 151) * 16), 60);
    scroll_px = 0;
    scroll_py = -16;
    EXPECT_EQ(probe_point((70 - 66) * 16, 15), 62); // sum -1: one tile up
}

TEST(Player, ObjectsAreTakenOnlyFromTerrainAbove52EachWithItsEffect) {
    struct Case { int code; int *target; int gain; };
    const Case cases[] = {
        {1, &score, 50}, {10, &score, 100}, {13, &score, 1000}, {14, &score, 200},
        {8, &player_hp, 1000}, {12, &bombs, 5}, {5, &has_lamp, 1},
        {11, &has_ghost, 1}, {11, &has_ghost, 0}, // a flag stays 1
        {3, nullptr, 0}, {9, nullptr, 0}, {15, nullptr, 0}, {255, nullptr, 0},
    };
    start_room();
    EXPECT_EQ(player_hp, 20000); // object 8 raises it above the start: no maximum
    int px = tile_px(70) + 8, py = tile_py(155) + 8;
    putpixel(terrain_layer, 70, 155, CODE_WALKABLE);
    putpixel(object_layer, 70, 155, 1);
    EXPECT_EQ(probe_point(px, py), CODE_WALKABLE);
    EXPECT_EQ(object_at(70, 155), 1); // walkable, but 53 is the lowest code that gives it up
    EXPECT_EQ(samples_played(PICKUP_SOUND) + score, 0);
    putpixel(terrain_layer, 70, 155, CODE_WALKABLE + 1);
    int *counters[] = {&score, &player_hp, &bombs, &has_lamp, &has_ghost};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        int before[5] = {score, player_hp, bombs, has_lamp, has_ghost};
        int sounds = samples_played(PICKUP_SOUND);
        putpixel(object_layer, 70, 155, c.code);
        EXPECT_EQ(probe_point(px, py), CODE_WALKABLE + 1);
        EXPECT_EQ(object_at(70, 155), 0);
        EXPECT_EQ(samples_played(PICKUP_SOUND), sounds + 1);
        EXPECT_EQ(std::vector<int>(last_play_args, last_play_args + 4), std::vector<int>({130, 130, 1000, 0}));
        for (int i = 0; i < 5; i++)
            EXPECT_EQ(*counters[i], before[i] + (counters[i] == c.target ? c.gain : 0));
        EXPECT_EQ(game_over, 0);
    }
    putpixel(object_layer, 70, 155, 2);
    probe_point(px, py);
    EXPECT_EQ(game_over, 1);
}
