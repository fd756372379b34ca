// test_main_loop.cpp -- the room-change step, the frame's input order and the end test
#include <gtest/gtest.h>
#include "test_support.h"
#include "shell.h"
#include "map.h"
#include "view.h"
#include "player.h"
#include "monsters.h"
#include "weapons.h"
#include "shell_summary.h"
#include <cstdio>

// The room-change step clamps the view on the axis across the travel into the
// new room, keeping the player's place in the world; the axis of travel is
// left to the camera.
TEST(MainLoop, RoomChangeClampsTheViewAcrossTheTravelIntoTheNewRoom) {
    struct Case { const char *rule; int left, top, right, bottom, dir, tx, ty, px, py, x, y; const char *after; };
    const Case cases[] = {
        {"pulled down, its top below the view", 100, 155, 114, 169, DIR_RIGHT, 100, 150, 0, -5, 20, 120, "100,155 0,0 20,35"},
        {"11 tall: its bottom row on the view", 60, 100, 74, 110, DIR_LEFT, 60, 95, 0, 3, 120, 100, "60,96 0,0 120,87"},
        {"21 wide: pulled left to 56", 50, 60, 70, 74, DIR_DOWN, 60, 60, 7, 4, 100, 4, "56,60 0,4 171,4"},
        {"inside the range nothing moves", 50, 60, 70, 74, DIR_UP, 52, 60, 7, 4, 100, 4, "52,60 7,4 100,4"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.rule);
        make_world(200, 200, 0);
        make_room(c.left, c.top, c.right, c.bottom, 72);
        view_tx = c.tx, view_ty = c.ty, scroll_px = c.px, scroll_py = c.py, player_x = c.x, player_y = c.y;
        room_change_step(c.dir);
        char after[64];
        snprintf(after, sizeof after, "%d,%d %d,%d %d,%d", view_tx, view_ty, scroll_px, scroll_py, player_x, player_y);
        EXPECT_STREQ(after, c.after);
        EXPECT_EQ(pending_room_change, 7);
        EXPECT_EQ(room_top, c.top);
    }
}

TEST(MainLoop, RoomChangeResetsShotsAndRespawnsMonsters) {
    make_world(200, 200, 0);
    make_room(66, 151, 80, 165, 72);
    putpixel(monster_layer, 70, 155, 3);
    shots[5].state = 1;
    monster_count = 0;
    room_change_step(DIR_RIGHT);
    EXPECT_EQ(shots[5].state, 2);
    EXPECT_EQ(room_left, 66);
    EXPECT_EQ(room_bottom, 165);
    EXPECT_EQ(monster_count, 1);
    EXPECT_EQ(monsters[0].kind, 3);
}

TEST(MainLoop, PendingChangeRunsOnceAtTheStartOfTheNextFrame) {
    make_world(200, 200, 0);
    make_room(66, 151, 80, 165, 72);
    pending_room_change = DIR_DOWN;
    view_tx = 70; // beyond room_right - 14 = 66
    frame_update_and_draw();
    EXPECT_EQ(pending_room_change, 7);
    EXPECT_EQ(view_tx, 66);
    pending_room_change = 7;
    view_tx = 70;
    room_left = room_right = 0;
    frame_update_and_draw();
    EXPECT_EQ(room_right, 0); // no change pending: the room is not measured
}

// The summary's figures: the world's whole score is every scoring object,
// its rooms are the distinct bounds round its floor, and a room counts as
// seen once the player has stood in it; the bounds of play are kept.
TEST(MainLoop, SummaryCountsTheWholeScoreAndTheRoomsSeen) {
    make_world(60, 40, 74);
    make_room(0, 0, 14, 14, 72, 74);
    make_room(14, 0, 28, 14, 72, 74); // shares a wall, and its top and bottom, with the first
    make_room(0, 14, 14, 28, 72, 74);  // shares its left and right with the first
    putpixel(object_layer, 3, 3, 1);    // coin, 50
    putpixel(object_layer, 20, 5, 13);  // treasure, 1000
    putpixel(object_layer, 3, 20, 2);   // scores nothing
    summary_on = true;
    find_room_bounds(5, 5);
    summary_start();
    EXPECT_EQ(room_right, 14);
    find_room_bounds(20, 5);
    summary_frame();
    summary_frame();
    score = 50, player_hp = -300;
    SummaryFigures f = summary_figures();
    summary_on = false;
    char figures[64];
    snprintf(figures, sizeof figures, "%d of %d, hp %d, rooms %d of %d, %d s", f.score, f.whole_score, f.hp,
             f.rooms_seen, f.rooms, f.seconds);
    EXPECT_STREQ(figures, "50 of 1050, hp 0, rooms 2 of 3, 0 s");
}
