// test_main_loop.cpp -- the room-change step, the frame's input order and the end test
#include <gtest/gtest.h>
#include "test_support.h"
#include "shell.h"
#include "map.h"
#include "view.h"
#include "player.h"
#include "monsters.h"
#include "weapons.h"

TEST(MainLoop, RoomChangePullsTheViewDownIntoTheNewRoom) {
    make_world(200, 200, 0);
    make_room(100, 155, 114, 169, 72); // the room right of an exit, its top below the view
    view_tx = 100;
    view_ty = 150;
    scroll_py = -5;
    player_x = 20;
    player_y = 120;
    // The player's world row before: 150 * 16 - 5 + 120.
    int world_y = view_ty * 16 + scroll_py + player_y;
    room_change_step(DIR_RIGHT);
    EXPECT_EQ(pending_room_change, 7);
    EXPECT_EQ(room_top, 155);
    EXPECT_EQ(view_ty, 155);
    EXPECT_EQ(scroll_py, 0);
    EXPECT_EQ(view_ty * 16 + scroll_py + player_y, world_y);
    EXPECT_EQ(player_x, 20); // the axis of travel is left to the camera
}

TEST(MainLoop, ShortRoomEndsWithItsBottomRowOnTheView) {
    make_world(200, 200, 0);
    make_room(60, 100, 74, 110, 72); // 11 tiles tall
    view_tx = 60;
    view_ty = 95; // above the room: the low clamp runs, then the high one
    scroll_py = 3;
    player_y = 100;
    int world_y = view_ty * 16 + scroll_py + player_y;
    room_change_step(DIR_LEFT);
    EXPECT_EQ(view_ty, room_bottom - 14);
    EXPECT_EQ(view_ty + 14, 110);
    EXPECT_EQ(scroll_py, 0);
    EXPECT_EQ(view_ty * 16 + player_y, world_y);
}

TEST(MainLoop, HorizontalRoomChangeClampsTheOtherAxisOnly) {
    make_world(200, 200, 0);
    make_room(50, 60, 70, 74, 72); // 21 wide: origin range 50..56
    view_tx = 60;
    view_ty = 60;
    scroll_px = 7;
    scroll_py = 4;
    player_x = 100;
    player_y = 4;
    int world_x = view_tx * 16 + scroll_px + player_x;
    room_change_step(DIR_DOWN);
    EXPECT_EQ(view_tx, 56);
    EXPECT_EQ(scroll_px, 0);
    EXPECT_EQ(view_tx * 16 + player_x, world_x);
    EXPECT_EQ(scroll_py, 4);
    EXPECT_EQ(player_y, 4);

    // Inside the range nothing moves.
    view_tx = 52;
    scroll_px = 7;
    player_x = 100;
    room_change_step(DIR_UP);
    EXPECT_EQ(view_tx, 52);
    EXPECT_EQ(scroll_px, 7);
    EXPECT_EQ(player_x, 100);
}

TEST(MainLoop, RoomChangeResetsBombShotsAndRespawnsMonsters) {
    make_world(200, 200, 0);
    make_room(66, 151, 80, 165, 72);
    putpixel(monster_layer, 70, 155, 3);
    bomb_state = 1;
    bomb_timer = 10;
    shots[5].state = 1;
    monster_count = 0;
    room_change_step(DIR_RIGHT);
    EXPECT_EQ(bomb_state, 2);
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
