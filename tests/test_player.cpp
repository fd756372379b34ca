// test_player.cpp -- the arrow-key ramp, collision probes, room exits and pickups
#include <gtest/gtest.h>
#include "test_support.h"
#include "shell.h"
#include "layers.h"
#include "view.h"
#include "player.h"
#include "assets.h"

// A 200 x 200 world of floor with the start room (66, 151)..(80, 165) walled
// by code 0 and measured; the view shows it exactly. The back buffer is
// painted a non-zero colour, so every probe reads the terrain under it.
static void start_room() {
    make_world(200, 200, CODE_FLOOR);
    make_room(66, 151, 80, 165, CODE_FLOOR);
    find_room_bounds(view_tx + 8, view_ty + 8);
    clear_to_color(back_buffer, CODE_FLOOR);
}

static void place_player(int x, int y) {
    player_x = x;
    player_y = y;
}

// Runs one frame of the arrow keys and returns how far the player moved.
static int frame_dx() {
    int x = player_x;
    arrow_key_step();
    return player_x - x;
}

static int frame_dy() {
    int y = player_y;
    arrow_key_step();
    return player_y - y;
}

static void hold(int k) {
    release_all_input();
    key[k] = 1;
}

static int object_at(int tx, int ty) { return getpixel(object_layer, tx, ty); }

TEST(Player, RampFromRestIsThreeFiveTimesThenSeven) {
    start_room();
    place_player(40, 100);
    hold(KEY_RIGHT);
    const int ramp[10] = {3, 3, 3, 3, 3, 7, 7, 7, 7, 7};
    for (int f = 0; f < 10; f++)
        EXPECT_EQ(frame_dx(), ramp[f]) << "frame " << f;
    EXPECT_EQ(hold_frames, 9); // the counter stops at the last entry
    EXPECT_EQ(frame_dx(), 7);
    EXPECT_EQ(hold_frames, 9);

    // Reversing starts the ramp again.
    hold(KEY_LEFT);
    EXPECT_EQ(frame_dx(), -3);
    EXPECT_EQ(player_dir, DIR_LEFT);
    for (int f = 0; f < 4; f++)
        EXPECT_EQ(frame_dx(), -3);
    EXPECT_EQ(frame_dx(), -7);

    // A right-angle turn keeps the speed.
    hold(KEY_UP);
    EXPECT_EQ(frame_dy(), -7);

    // One frame without arrows restarts it.
    release_all_input();
    EXPECT_EQ(frame_dy(), 0);
    EXPECT_EQ(hold_frames, 0);
    hold(KEY_UP);
    EXPECT_EQ(frame_dy(), -3);
}

TEST(Player, LeftAndRightTogetherCancelAndEndFacingRight) {
    start_room();
    place_player(100, 100);
    release_all_input();
    key[KEY_LEFT] = key[KEY_RIGHT] = 1;
    for (int f = 0; f < 7; f++) {
        EXPECT_EQ(frame_dx(), 0);
        // Each reversal resets the shared counter: always the 3-pixel step.
        EXPECT_EQ(hold_frames, 1);
    }
    EXPECT_EQ(player_dir, DIR_RIGHT);

    // Left and Up together share the counter, which rises by two a frame.
    release_all_input();
    arrow_key_step();
    key[KEY_LEFT] = key[KEY_UP] = 1;
    arrow_key_step();
    EXPECT_EQ(hold_frames, 2);
    arrow_key_step();
    arrow_key_step();
    EXPECT_EQ(hold_frames, 6);
    EXPECT_EQ(player_dir, DIR_UP);
}

TEST(Player, WallTouchingTheCollisionAreaBlocksButTheFigureStillAnimates) {
    start_room();
    // Collision area columns 128..143; tile 75 begins at column 144.
    place_player(124, 164);
    rectfill(terrain_layer, 75, 152, 75, 164, 30);
    hold(KEY_RIGHT);
    const int frames[5] = {13, 14, 15, 12, 13};
    for (int f = 0; f < 5; f++) {
        EXPECT_EQ(frame_dx(), 0);
        EXPECT_EQ(player_frame, frames[f]);
    }
    EXPECT_EQ(move_player(DIR_RIGHT, 8), 1);
    EXPECT_EQ(player_x, 124);
    EXPECT_EQ(player_y, 164);
}

TEST(Player, EightStepsAgainstColumnPlusTwentyFourMoveFour) {
    start_room();
    place_player(120, 160);
    // Column 144 (tile 75) is player_x + 24; only the tile at rows 176..191 blocks.
    putpixel(terrain_layer, 75, 162, 30);
    EXPECT_EQ(move_player(DIR_RIGHT, 8), 1);
    EXPECT_EQ(player_x, 124);
    // Now the guarded edge touches the wall: blocked on the first line.
    EXPECT_EQ(move_player(DIR_RIGHT, 2), 1);
    EXPECT_EQ(player_x, 124);
    // Away from it, nothing blocks: 7 pixels.
    EXPECT_EQ(move_player(DIR_LEFT, 8), 0);
    EXPECT_EQ(player_x, 117);
}

TEST(Player, ProbeLinesSpanTheCollisionArea) {
    start_room();
    // Down: row player_y + 31 + i. Row 192 starts tile row 163.
    place_player(120, 158);
    putpixel(terrain_layer, 73, 163, 30); // under column 124 = player_x + 4
    EXPECT_EQ(move_player(DIR_DOWN, 8), 1);
    EXPECT_EQ(player_y, 160);
    putpixel(terrain_layer, 73, 163, CODE_FLOOR);

    // Up: row player_y + 20 - i. Tile row 161 ends at row 175.
    place_player(120, 160);
    putpixel(terrain_layer, 74, 161, 30); // columns 128..143, under player_x + 18
    EXPECT_EQ(move_player(DIR_UP, 8), 1);
    EXPECT_EQ(player_y, 156);
    putpixel(terrain_layer, 74, 161, CODE_FLOOR);

    // Vertical moves leave column player_x + 19 untested.
    place_player(125, 160); // + 19 = 144, the first column of tile 75
    putpixel(terrain_layer, 75, 161, 30);
    EXPECT_EQ(move_player(DIR_UP, 8), 0);
    EXPECT_EQ(player_y, 153);
    place_player(126, 160); // + 18 = 144
    EXPECT_EQ(move_player(DIR_UP, 8), 1);
    EXPECT_EQ(player_y, 156);

    // Left: column player_x + 4 - i, rows player_y + 20 .. + 31. Tile 67
    // spans columns 16..31, so from x = 30 line 3 (column 31) reaches it.
    putpixel(terrain_layer, 67, 162, 30); // rows 176..191
    place_player(30, 152);                // rows 172..183
    EXPECT_EQ(move_player(DIR_LEFT, 8), 1);
    EXPECT_EQ(player_x, 28);
    place_player(30, 144);                // rows 164..175: above the wall
    EXPECT_EQ(move_player(DIR_LEFT, 8), 0);
    EXPECT_EQ(player_x, 23);
    place_player(30, 145);                // row player_y + 31 = 176
    EXPECT_EQ(move_player(DIR_LEFT, 8), 1);
    EXPECT_EQ(player_x, 28);
}

TEST(Player, RequestsOfOneStepOrBadDirectionsMoveNothing) {
    start_room();
    place_player(100, 100);
    EXPECT_EQ(move_player(DIR_RIGHT, 1), 0);
    EXPECT_EQ(player_x, 100);
    EXPECT_EQ(player_frame, 13);
    EXPECT_EQ(move_player(DIR_RIGHT, 0), 0);
    EXPECT_EQ(player_frame, 14);
    EXPECT_EQ(move_player(DIR_NONE, 8), 0);
    EXPECT_EQ(move_player(4, 8), 0);
    EXPECT_EQ(player_frame, 14);
    EXPECT_EQ(player_x, 100);
    EXPECT_EQ(player_y, 100);
}

TEST(Player, AnimationCyclesWithinTheFacingsFrames) {
    start_room();
    place_player(100, 100);
    // Frame 12 is outside Up's 0..3: the first Up move starts at 0.
    const int up[5] = {0, 1, 2, 3, 0};
    for (int f : up) {
        move_player(DIR_UP, 1);
        EXPECT_EQ(player_frame, f);
    }
    player_frame = 3;
    move_player(DIR_DOWN, 1);
    EXPECT_EQ(player_frame, 4);
    player_frame = 7;
    move_player(DIR_LEFT, 1);
    EXPECT_EQ(player_frame, 8);
    player_frame = 11;
    move_player(DIR_RIGHT, 1);
    EXPECT_EQ(player_frame, 12);
    player_frame = 15;
    move_player(DIR_RIGHT, 1);
    EXPECT_EQ(player_frame, 12);
}

TEST(Player, GhostWalkingNeedsTheCloakAndLeftControl) {
    start_room();
    rectfill(terrain_layer, 75, 152, 75, 164, CODE_GHOST_WALL_A);
    rectfill(terrain_layer, 76, 152, 76, 164, CODE_GHOST_WALL_B);
    rectfill(terrain_layer, 77, 152, 77, 164, 23);

    has_ghost = 0;
    place_player(124, 160);
    key[KEY_LCONTROL] = 1;
    EXPECT_EQ(move_player(DIR_RIGHT, 4), 1);

    has_ghost = 1;
    release_all_input();
    EXPECT_EQ(move_player(DIR_RIGHT, 4), 1);
    key[KEY_RCONTROL] = 1;
    EXPECT_EQ(move_player(DIR_RIGHT, 4), 1);
    EXPECT_EQ(player_x, 124);

    release_all_input();
    key[KEY_LCONTROL] = 1;
    EXPECT_EQ(move_player(DIR_RIGHT, 8), 0);
    EXPECT_EQ(player_x, 131);
    place_player(140, 160); // lines reach tile 76 (code 25)
    EXPECT_EQ(move_player(DIR_RIGHT, 8), 0);
    EXPECT_EQ(player_x, 147);
    // Code 23 is a plain wall even for a ghost: tile 77 starts at column 176.
    place_player(152, 160);
    EXPECT_EQ(move_player(DIR_RIGHT, 8), 1);
    EXPECT_EQ(player_x, 156);
}

TEST(Player, ExitsInAllFourDirectionsPlaceThePlayerAndTheView) {
    // Right, with a positive offset: one tile more, offset dropped.
    start_room();
    scroll_px = 5;                 // tile 80 spans columns 219..234
    place_player(199, 160);        // line 1: column 219
    putpixel(terrain_layer, 80, 162, CODE_EXIT);
    EXPECT_EQ(move_player(DIR_RIGHT, 4), 2);
    EXPECT_EQ(player_x, 20);
    EXPECT_EQ(player_y, 160);
    EXPECT_EQ(view_tx, 82);
    EXPECT_EQ(scroll_px, 0);
    EXPECT_EQ(view_ty, 151);

    // Left, with a negative offset.
    start_room();
    scroll_px = -5;                // tile 66 spans columns 5..20
    place_player(17, 160);
    putpixel(terrain_layer, 66, 162, CODE_EXIT);
    EXPECT_EQ(move_player(DIR_LEFT, 4), 2);
    EXPECT_EQ(player_x, 200);
    EXPECT_EQ(view_tx, 50);
    EXPECT_EQ(scroll_px, 0);

    // Up, with a negative offset.
    start_room();
    scroll_py = -3;                // tile row 151 spans rows 3..18
    place_player(120, -2);         // line 1: row 17
    putpixel(terrain_layer, 73, 151, CODE_EXIT);
    EXPECT_EQ(move_player(DIR_UP, 4), 2);
    EXPECT_EQ(player_y, 190);
    EXPECT_EQ(player_x, 120);
    EXPECT_EQ(view_ty, 135);
    EXPECT_EQ(scroll_py, 0);
    EXPECT_EQ(view_tx, 66);

    // Down, with a positive offset.
    start_room();
    scroll_py = 4;                 // tile row 165 spans rows 220..235
    place_player(120, 188);
    putpixel(terrain_layer, 73, 165, CODE_EXIT);
    EXPECT_EQ(move_player(DIR_DOWN, 4), 2);
    EXPECT_EQ(player_y, 4);
    EXPECT_EQ(view_ty, 167);
    EXPECT_EQ(scroll_py, 0);

    // An offset of the other sign stays, and the origin is just past the wall.
    start_room();
    scroll_px = -5;
    place_player(209, 160);        // line 1: column 229, in tile 80 (229..244)
    putpixel(terrain_layer, 80, 162, CODE_EXIT);
    EXPECT_EQ(move_player(DIR_RIGHT, 4), 2);
    EXPECT_EQ(view_tx, 81);
    EXPECT_EQ(scroll_px, -5);
    start_room();
    scroll_py = 4;
    place_player(120, 0);          // line 1: row 19, in tile row 152 (12..27)
    rectfill(terrain_layer, 67, 152, 79, 152, CODE_EXIT);
    EXPECT_EQ(move_player(DIR_UP, 4), 2);
    EXPECT_EQ(view_ty, 136);
    EXPECT_EQ(scroll_py, 4);
}

TEST(Player, ExitThroughTheArrowsThenTheRoomChangeSettlesTheOtherAxis) {
    // Right into a room whose top lies below the view: the view moves down.
    start_room();
    make_room(81, 155, 110, 175, CODE_FLOOR);
    putpixel(terrain_layer, 80, 162, CODE_EXIT);
    scroll_py = 3;
    place_player(196, 160);        // tile 80 begins at column 224: reached on the third frame
    int world_y = view_ty * 16 + scroll_py + player_y;
    hold(KEY_RIGHT);
    for (int f = 0; f < 6 && pending_room_change == 7; f++)
        arrow_key_step();
    EXPECT_EQ(pending_room_change, DIR_RIGHT);
    EXPECT_EQ(player_x, 20);
    EXPECT_EQ(view_tx, 81);
    room_change_step(pending_room_change);
    EXPECT_EQ(pending_room_change, 7);
    EXPECT_EQ(room_left, 81);
    EXPECT_EQ(room_top, 155);
    EXPECT_EQ(view_ty, 155);
    EXPECT_EQ(scroll_py, 0);
    EXPECT_EQ(view_ty * 16 + scroll_py + player_y, world_y);

    // Left into a room that ends above the view's bottom: the view moves up.
    start_room();
    make_room(40, 130, 65, 160, CODE_FLOOR);
    putpixel(terrain_layer, 66, 162, CODE_EXIT);
    place_player(14, 160);         // line 3 reaches column 15, in tile 66
    world_y = view_ty * 16 + scroll_py + player_y;
    hold(KEY_LEFT);
    arrow_key_step();
    EXPECT_EQ(pending_room_change, DIR_LEFT);
    EXPECT_EQ(view_tx, 51);
    EXPECT_EQ(player_x, 200);
    room_change_step(pending_room_change);
    EXPECT_EQ(view_ty, 146);
    EXPECT_EQ(view_ty * 16 + scroll_py + player_y, world_y);

    // Up into a room right of the view: the view moves right.
    start_room();
    make_room(70, 120, 100, 150, CODE_FLOOR);
    putpixel(terrain_layer, 73, 151, CODE_EXIT);
    scroll_px = 6;
    place_player(115, -4);         // line 1: row 15, columns 119..133 in tiles 73, 74
    int world_x = view_tx * 16 + scroll_px + player_x;
    hold(KEY_UP);
    arrow_key_step();
    EXPECT_EQ(pending_room_change, DIR_UP);
    EXPECT_EQ(view_ty, 136);
    EXPECT_EQ(player_y, 190);
    room_change_step(pending_room_change);
    EXPECT_EQ(view_tx, 70);
    EXPECT_EQ(scroll_px, 0);
    EXPECT_EQ(view_tx * 16 + scroll_px + player_x, world_x);

    // Down into a room left of the view: the view moves left.
    start_room();
    make_room(50, 166, 75, 190, CODE_FLOOR);
    putpixel(terrain_layer, 73, 165, CODE_EXIT);
    place_player(115, 192);        // line 1: row 224, columns 119..133
    world_x = view_tx * 16 + scroll_px + player_x;
    hold(KEY_DOWN);
    arrow_key_step();
    EXPECT_EQ(pending_room_change, DIR_DOWN);
    EXPECT_EQ(view_ty, 166);
    EXPECT_EQ(player_y, 4);
    room_change_step(pending_room_change);
    EXPECT_EQ(room_right, 75);
    EXPECT_EQ(view_tx, 61);
    EXPECT_EQ(view_tx * 16 + scroll_px + player_x, world_x);
}

TEST(Player, TwoExitsInOneFrameKeepTheLast) {
    start_room();
    scroll_px = -5;
    scroll_py = 4;
    place_player(17, 188);         // rows 208..219: tile row 164
    putpixel(terrain_layer, 66, 164, CODE_EXIT);
    // After the left exit the view origin is (50, 151): the Down line at row
    // 220 over columns 204..218 meets tiles 62 and 63 of row 165.
    putpixel(terrain_layer, 62, 165, CODE_EXIT);
    release_all_input();
    key[KEY_LEFT] = key[KEY_DOWN] = 1;
    arrow_key_step();
    EXPECT_EQ(pending_room_change, DIR_DOWN);
    EXPECT_EQ(player_x, 200);
    EXPECT_EQ(player_y, 4);
    EXPECT_EQ(view_tx, 50);
    EXPECT_EQ(view_ty, 167);
    EXPECT_EQ(player_dir, DIR_DOWN);
}

TEST(Player, ExitOnlyWhenMetBeforeAnyBlockingPoint) {
    start_room();
    place_player(120, 168);        // rows 188..199: tile rows 162 then 163
    putpixel(terrain_layer, 75, 162, 30);
    putpixel(terrain_layer, 75, 163, CODE_EXIT);
    EXPECT_EQ(move_player(DIR_RIGHT, 8), 1);
    EXPECT_EQ(player_x, 124);

    start_room();
    place_player(120, 168);
    putpixel(terrain_layer, 75, 162, CODE_EXIT);
    putpixel(terrain_layer, 75, 163, 30);
    EXPECT_EQ(move_player(DIR_RIGHT, 8), 2); // five pixels ahead, still taken
    EXPECT_EQ(player_x, 20);
}

TEST(Player, ObjectsAreTakenOnLinesAheadOfABlockedMove) {
    start_room();
    // Down from y = 157: rows 189..191 on lines 1..3, row 192 (tile row 163) on line 4.
    place_player(120, 157);        // columns 124..138: tiles 73 then 74
    putpixel(object_layer, 73, 163, 1);
    putpixel(terrain_layer, 74, 163, 30);
    EXPECT_EQ(move_player(DIR_DOWN, 8), 1);
    EXPECT_EQ(player_y, 160);      // three pixels: the object's tile is still ahead
    EXPECT_EQ(object_at(73, 163), 0);
    EXPECT_EQ(score, 50);
    EXPECT_EQ(samples_played(PICKUP_SOUND), 1);

    // A point after the blocking one in the same line is never probed.
    start_room();
    place_player(120, 168);        // line 5 at column 144: tile row 162, then 163
    putpixel(terrain_layer, 75, 162, 30);
    putpixel(object_layer, 75, 163, 1);
    putpixel(object_layer, 74, 163, 10); // under lines 1..4, taken on the way
    EXPECT_EQ(move_player(DIR_RIGHT, 8), 1);
    EXPECT_EQ(object_at(75, 163), 1);
    EXPECT_EQ(object_at(74, 163), 0);
    EXPECT_EQ(score, 100);
    EXPECT_EQ(samples_played(PICKUP_SOUND), 1);
}

TEST(Player, ObjectOnTerrainFiftyTwoOrBelowStays) {
    start_room();
    putpixel(terrain_layer, 70, 155, CODE_WALKABLE);
    putpixel(object_layer, 70, 155, 1);
    putpixel(terrain_layer, 71, 155, 30);
    putpixel(object_layer, 71, 155, 1);
    putpixel(terrain_layer, 72, 155, 53);
    putpixel(object_layer, 72, 155, 1);
    int y = tile_py(155) + 3;
    for (int n = 0; n < 3; n++) {
        EXPECT_EQ(probe_point(tile_px(70) + 5, y), CODE_WALKABLE);
        EXPECT_EQ(probe_point(tile_px(71) + 5, y), 30);
    }
    EXPECT_EQ(object_at(70, 155), 1);
    EXPECT_EQ(object_at(71, 155), 1);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(samples_played(PICKUP_SOUND), 0);
    // Code 53 is the lowest on which objects are taken.
    EXPECT_EQ(probe_point(tile_px(72) + 5, y), 53);
    EXPECT_EQ(object_at(72, 155), 0);
    EXPECT_EQ(score, 50);

    // Walking over the tile of code 52 leaves the object too.
    place_player(tile_px(70) - 20, tile_py(155) - 20);
    EXPECT_EQ(move_player(DIR_RIGHT, 8), 0);
    EXPECT_EQ(object_at(70, 155), 1);
}

TEST(Player, ColourZeroPixelsPassOverWalls) {
    start_room();
    place_player(124, 160);
    rectfill(terrain_layer, 75, 152, 75, 164, 30);
    putpixel(object_layer, 75, 162, 1);
    // The back buffer shows colour 0 where the wall column is.
    rectfill(back_buffer, 144, 0, 159, 239, 0);
    EXPECT_EQ(move_player(DIR_RIGHT, 8), 0);
    EXPECT_EQ(player_x, 131);
    EXPECT_EQ(object_at(75, 162), 1); // nothing is taken through colour 0
    EXPECT_EQ(samples_played(PICKUP_SOUND), 0);
    // A single non-zero pixel there is the wall again.
    putpixel(back_buffer, 155, 185, 30); // line 5 from the edge at column 150
    EXPECT_EQ(move_player(DIR_RIGHT, 8), 1);
    EXPECT_EQ(player_x, 135);
    // Outside the back buffer every point is open ground.
    EXPECT_EQ(probe_point(-1, 10), CODE_WALKABLE);
    EXPECT_EQ(probe_point(10, -1), CODE_WALKABLE);
    EXPECT_EQ(probe_point(320, 10), CODE_WALKABLE);
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
    start_room();
    int y = tile_py(155) + 8;
    auto take = [&](int code) {
        putpixel(object_layer, 70, 155, code);
        probe_point(tile_px(70) + 8, y);
        EXPECT_EQ(object_at(70, 155), 0) << "object " << code;
    };
    take(1);
    EXPECT_EQ(score, 50);
    take(10);
    EXPECT_EQ(score, 150);
    take(13);
    EXPECT_EQ(score, 1150);
    take(14);
    EXPECT_EQ(score, 1350);
    take(8);
    EXPECT_EQ(player_hp, 21000); // above the start value: no maximum
    take(12);
    take(12);
    EXPECT_EQ(bombs, 10);
    take(5);
    EXPECT_EQ(has_lamp, 1);
    take(11);
    take(11);
    EXPECT_EQ(has_ghost, 1);     // a flag stays 1
    EXPECT_EQ(game_over, 0);
    int hp = player_hp, sc = score, bo = bombs;
    for (int code : {3, 4, 6, 7, 9, 15, 200, 255})
        take(code);
    EXPECT_EQ(player_hp, hp);
    EXPECT_EQ(score, sc);
    EXPECT_EQ(bombs, bo);
    EXPECT_EQ(game_over, 0);
    take(2);
    EXPECT_EQ(game_over, 1);
    EXPECT_EQ(samples_played(PICKUP_SOUND), 19);

    // The second probe of a point finds nothing left to take.
    putpixel(object_layer, 70, 155, 1);
    EXPECT_EQ(probe_point(tile_px(70) + 8, y), CODE_FLOOR);
    EXPECT_EQ(probe_point(tile_px(70) + 8, y), CODE_FLOOR);
    EXPECT_EQ(score, sc + 50);
    EXPECT_EQ(samples_played(PICKUP_SOUND), 20);
}
