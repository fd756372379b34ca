// test_monsters.cpp -- spawning, drawing, chasing, patrolling and monster collision
#include "test_support.h"
#include "assets.h"
#include "layers.h"
#include "monsters.h"
#include "player.h"
#include "view.h"
#include <gtest/gtest.h>

// An open floor of code 72 round the start view, no room bounds yet.
static void open_world() {
    make_world(120, 200, CODE_FLOOR);
}

// Puts a live monster of `kind` into slot i at (x, y) with the box and patrol
// sense a spawn would give it, and counts the slot in.
static void place(int i, int kind, int x, int y) {
    Monster &m = monsters[i];
    m = Monster{1, x, y, 0, 0, 30, 20, kind, 40};
    if (kind == 1) {
        m.width = 82;
        m.height = 130;
    }
    if (kind == 13)
        m.patrol_v = 1;
    if (kind == 14)
        m.patrol_h = 1;
    if (monster_count < i + 1)
        monster_count = i + 1;
}

// Sets terrain tile (view_tx + cx, view_ty + cy), which with zero offsets
// covers play-field pixels cx * 16 .. cx * 16 + 15 and likewise for y.
static void terrain_tile(int cx, int cy, int code) {
    putpixel(terrain_layer, view_tx + cx, view_ty + cy, code);
}

// Calls move_monster `calls` times with 4 steps, as a patroller does per frame.
static void push(int dir, int index, int calls) {
    for (int c = 0; c < calls; c++)
        move_monster(dir, 4, index);
}

TEST(MonstersSpawn, ScansColumnsFromLeftBorderThenRowsDownAndSkipsFarBorders) {
    open_world();
    make_room(66, 151, 80, 165, CODE_FLOOR);
    find_room_bounds(74, 159);
    ASSERT_EQ(room_left, 66);
    ASSERT_EQ(room_right, 80);
    putpixel(monster_layer, 70, 155, 3);
    putpixel(monster_layer, 68, 160, 5);
    putpixel(monster_layer, 68, 152, 2);
    putpixel(monster_layer, 66, 158, 4); // left border column: spawned
    putpixel(monster_layer, 72, 151, 6); // top border row: spawned
    putpixel(monster_layer, 80, 155, 7); // right border column: not this room's
    putpixel(monster_layer, 70, 165, 8); // bottom border row: not this room's
    monsters[60] = Monster{1, 5, 5, 1, 1, 30, 20, 2, 40}; // left over from an earlier room
    spawn_monsters();

    ASSERT_EQ(monster_count, 5);
    const int kinds[] = {4, 2, 5, 3, 6};
    const int txs[] = {66, 68, 68, 70, 72};
    const int tys[] = {158, 152, 160, 155, 151};
    for (int i = 0; i < 5; i++) {
        EXPECT_EQ(monsters[i].status, 1) << i;
        EXPECT_EQ(monsters[i].kind, kinds[i]) << i;
        EXPECT_EQ(monsters[i].x, tile_px(txs[i])) << i;
        EXPECT_EQ(monsters[i].y, tile_py(tys[i])) << i;
    }
    for (int i = 5; i < MAX_MONSTERS; i++) {
        const Monster &m = monsters[i];
        EXPECT_EQ(m.status, 2) << i;
        EXPECT_EQ(m.x | m.y | m.patrol_h | m.patrol_v | m.width | m.height | m.kind | m.hp, 0) << i;
    }
}

TEST(MonstersSpawn, PositionsCountTheViewOffset) {
    open_world();
    room_left = 60, room_right = 90, room_top = 145, room_bottom = 170;
    scroll_px = 5;
    scroll_py = 0;
    putpixel(monster_layer, view_tx + 3, view_ty + 2, 2);
    putpixel(monster_layer, view_tx - 1, view_ty - 2, 2); // left of and above the view
    spawn_monsters();
    ASSERT_EQ(monster_count, 2);
    EXPECT_EQ(monsters[0].x, -21);
    EXPECT_EQ(monsters[0].y, -32);
    EXPECT_EQ(monsters[1].x, 43);
    EXPECT_EQ(monsters[1].y, 32);

    scroll_px = -3;
    scroll_py = 7;
    spawn_monsters();
    EXPECT_EQ(monsters[1].x, 51);
    EXPECT_EQ(monsters[1].y, 25);
}

TEST(MonstersSpawn, EachKindGetsItsBoxHitPointsAndPatrolSense) {
    open_world();
    room_left = 60, room_right = 90, room_top = 145, room_bottom = 170;
    const int kinds[] = {1, 2, 12, 13, 14, 15, 255};
    for (int i = 0; i < 7; i++)
        putpixel(monster_layer, 62 + 2 * i, 150, kinds[i]);
    spawn_monsters();
    ASSERT_EQ(monster_count, 5); // 15 and 255 have no art and are left out
    struct Want { int kind, width, height, hp, patrol_h, patrol_v; };
    const Want want[] = {{1, 82, 130, 500, 0, 0}, {2, 30, 20, 40, 0, 0}, {12, 30, 20, 40, 0, 0},
                         {13, 30, 20, 0, 0, 1},   {14, 30, 20, 0, 1, 0}};
    for (int i = 0; i < 5; i++) {
        const Monster &m = monsters[i];
        EXPECT_EQ(m.kind, want[i].kind);
        EXPECT_EQ(m.width, want[i].width) << m.kind;
        EXPECT_EQ(m.height, want[i].height) << m.kind;
        EXPECT_EQ(m.hp, want[i].hp) << m.kind;
        EXPECT_EQ(m.patrol_h, want[i].patrol_h) << m.kind;
        EXPECT_EQ(m.patrol_v, want[i].patrol_v) << m.kind;
    }

    // Killed and wounded monsters are all back at full strength on the next spawn.
    monsters[0].status = 2;
    monsters[1].hp = 4;
    monsters[2].x += 50;
    spawn_monsters();
    EXPECT_EQ(monsters[0].status, 1);
    EXPECT_EQ(monsters[0].hp, 500);
    EXPECT_EQ(monsters[1].hp, 40);
    EXPECT_EQ(monsters[2].x, tile_px(66));
}

TEST(MonstersSpawn, StopsAtAHundredInScanOrder) {
    open_world();
    room_left = 59, room_right = 72, room_top = 149, room_bottom = 162;
    for (int tx = 60; tx < 72; tx++)
        for (int ty = 150; ty < 162; ty++)
            putpixel(monster_layer, tx, ty, 2 + (tx - 60) % 11); // 144 markers
    spawn_monsters();
    EXPECT_EQ(monster_count, 100);
    // 100 = 8 full columns of 12, then 4 of the ninth column.
    EXPECT_EQ(monsters[99].x, tile_px(68));
    EXPECT_EQ(monsters[99].y, tile_py(153));
    EXPECT_EQ(monsters[96].x, tile_px(68));
    EXPECT_EQ(monsters[96].y, tile_py(150));
    for (int i = 0; i < 100; i++)
        EXPECT_LE(monsters[i].x, tile_px(68)) << i;
}

// A canvas and art larger than any window edge, so that every sprite that is
// drawn leaves a mark at (max(x, 0), max(y, 0)).
static BITMAP *big_canvas;
static DATAFILE big_art[MONSTER_DATA_ENTRIES + 1];

static bool drawn_at(int x, int y, int kind = 2) {
    clear_bitmap(big_canvas);
    place(0, kind, x, y);
    draw_monsters();
    return getpixel(big_canvas, x > 0 ? x : 0, y > 0 ? y : 0) == 77;
}

TEST(MonstersDraw, OnlyLiveMonstersInsideTheWindowAreDrawn) {
    open_world();
    if (!big_canvas) {
        big_canvas = create_bitmap(400, 400);
        BITMAP *art = create_bitmap(300, 300);
        clear_to_color(art, 77);
        for (int k = 0; k < MONSTER_DATA_ENTRIES; k++)
            big_art[k] = DATAFILE{art, DAT_BITMAP, 0, nullptr};
        big_art[MONSTER_DATA_ENTRIES] = DATAFILE{nullptr, DAT_END, 0, nullptr};
    }
    BITMAP *saved_back = back_buffer;
    DATAFILE *saved_art = monster_data;
    back_buffer = big_canvas;
    monster_data = big_art;
    EXPECT_FALSE(drawn_at(-80, 50));
    EXPECT_TRUE(drawn_at(-79, 50));
    EXPECT_FALSE(drawn_at(50, -130));
    EXPECT_TRUE(drawn_at(50, -129));
    EXPECT_FALSE(drawn_at(240, 50));
    EXPECT_TRUE(drawn_at(239, 50));
    EXPECT_FALSE(drawn_at(50, 240));
    EXPECT_TRUE(drawn_at(50, 239));
    back_buffer = saved_back;
    monster_data = saved_art;

    // With the real art: the kind's sprite, top-left at (x, y); later records cover earlier ones.
    clear_bitmap(back_buffer);
    place(0, 1, 10, 10);
    place(1, 3, 20, 20);
    place(2, 4, 100, 100);
    place(3, 5, 150, 150);
    monsters[2].status = 2;
    monster_count = 3; // slot 3 is beyond the table's fill
    draw_monsters();
    EXPECT_EQ(getpixel(back_buffer, 10, 10), MONSTER_COLOUR_BASE + 1);
    EXPECT_EQ(getpixel(back_buffer, 91, 139), MONSTER_COLOUR_BASE + 1);
    EXPECT_EQ(getpixel(back_buffer, 92, 139), 0);
    EXPECT_EQ(getpixel(back_buffer, 20, 20), MONSTER_COLOUR_BASE + 3);
    EXPECT_EQ(getpixel(back_buffer, 100, 100), 0); // dead
    EXPECT_EQ(getpixel(back_buffer, 150, 150), 0); // not counted
}

TEST(MonstersChase, ClosesASmallGapExactlyAndMovesHorizontallyFirst) {
    open_world();
    const int hp = player_hp;
    // Target (player_x + 12, player_y + 16) = (132, 176).
    place(0, 2, 132 + 2 - 15, 176 - 40 - 10); // centre 2 right of it, 40 above
    update_monsters();
    EXPECT_EQ(monsters[0].x, 132 - 15);
    EXPECT_EQ(monsters[0].y, 176 - 40 - 10 + 4);

    place(0, 2, 132 - 10 - 15, 176 - 20 - 10); // centre 10 left, 20 above
    update_monsters();
    EXPECT_EQ(monsters[0].x, 132 - 10 - 15 + 4);
    EXPECT_EQ(monsters[0].y, 176 - 20 - 10 + 4);

    // The large chaser's centre is (x + 41, y + 65); below and right of the target it moves up and left.
    place(0, 1, 132 + 3 - 41, 176 + 200 - 65);
    update_monsters();
    EXPECT_EQ(monsters[0].x, 132 - 41);
    EXPECT_EQ(monsters[0].y, 176 + 200 - 65 - 4);
    EXPECT_EQ(player_hp, hp);

    // A chaser whose centre sits on the target makes no move, so it does no harm
    // although its box covers the player's body.
    place(0, 2, 132 - 15, 176 - 10);
    update_monsters();
    EXPECT_EQ(monsters[0].x, 117);
    EXPECT_EQ(monsters[0].y, 166);
    EXPECT_EQ(player_hp, hp);
}

TEST(MonstersTerrain, StopsFlushMovingLeftOrUpAndOnePixelShortMovingRightOrDown) {
    open_world();
    player_x = 200;
    player_y = 200;
    terrain_tile(5, 5, 30); // pixels 80..95 on both axes
    place(0, 2, 110, 78);
    push(DIR_LEFT, 0, 10);
    EXPECT_EQ(monsters[0].x, 96);
    place(0, 2, 40, 78);
    push(DIR_RIGHT, 0, 10);
    EXPECT_EQ(monsters[0].x, 49); // column 79 stays free
    place(0, 2, 75, 110);
    push(DIR_UP, 0, 10);
    EXPECT_EQ(monsters[0].y, 96);
    place(0, 2, 75, 40);
    push(DIR_DOWN, 0, 10);
    EXPECT_EQ(monsters[0].y, 59); // row 79 stays free

    // The whole leading edge counts: the last row of the box just reaches the wall, or just misses it.
    place(0, 2, 110, 80 - 19);
    push(DIR_LEFT, 0, 10);
    EXPECT_EQ(monsters[0].x, 96);
    place(0, 2, 110, 80 - 20);
    push(DIR_LEFT, 0, 10);
    EXPECT_EQ(monsters[0].x, 70);
}

TEST(MonstersTerrain, Code52BlocksAnd53OrAnExitPasses) {
    open_world();
    player_x = 200;
    player_y = 200;
    const int codes[] = {52, 53, 74, 0};
    const bool passes[] = {false, true, true, false};
    for (int i = 0; i < 4; i++) {
        terrain_tile(5, 5, codes[i]);
        place(0, 2, 100, 80);
        push(DIR_LEFT, 0, 8);
        EXPECT_EQ(monsters[0].x, passes[i] ? 68 : 96) << codes[i];
    }

    // Outside the layer reads as -1, which blocks.
    view_tx = 0;
    place(0, 2, 6, 80);
    push(DIR_LEFT, 0, 3);
    EXPECT_EQ(monsters[0].x, 0);
}

TEST(MonstersPatrol, ClosesATwoPixelGapThenTurns) {
    open_world();
    player_x = 200;
    player_y = 200;
    terrain_tile(5, 5, 30);
    place(0, 14, 98, 80);
    update_monsters();
    EXPECT_EQ(monsters[0].x, 96);
    EXPECT_EQ(monsters[0].patrol_h, -1);
    update_monsters();
    EXPECT_EQ(monsters[0].x, 100);
    EXPECT_EQ(monsters[0].patrol_h, -1);

    place(0, 13, 80, 98);
    update_monsters();
    EXPECT_EQ(monsters[0].y, 96);
    EXPECT_EQ(monsters[0].patrol_v, -1);
    update_monsters();
    EXPECT_EQ(monsters[0].y, 100);

    // Only the last step decides the turn, and the probe runs on past blocked
    // steps: 20 steps end inside the wall and turn, 24 come out beyond it.
    place(0, 14, 100, 80);
    move_monster(DIR_LEFT, 20, 0);
    EXPECT_EQ(monsters[0].x, 96);
    EXPECT_EQ(monsters[0].patrol_h, -1);
    place(0, 14, 100, 80);
    move_monster(DIR_LEFT, 24, 0);
    EXPECT_EQ(monsters[0].x, 92);
    EXPECT_EQ(monsters[0].patrol_h, 1);
}

TEST(MonstersPlayer, EveryStepIntoThePlayerCostsFourHitPoints) {
    open_world();
    // Player body: columns 120..143, rows 176..191.
    place(0, 14, 146, 176);
    const int hp = player_hp;
    update_monsters();
    EXPECT_EQ(monsters[0].x, 145);      // one free step, then three blocked ones
    EXPECT_EQ(player_hp, hp - 12);
    EXPECT_EQ(monsters[0].patrol_h, -1);
    update_monsters();
    EXPECT_EQ(monsters[0].x, 149);
    EXPECT_EQ(player_hp, hp - 12);

    // Overlapping the body, every direction is blocked and every step hurts.
    place(0, 2, 125, 170);
    player_hp = hp;
    const int dirs[] = {DIR_LEFT, DIR_RIGHT, DIR_UP, DIR_DOWN};
    for (int dir : dirs)
        move_monster(dir, 4, 0);
    EXPECT_EQ(monsters[0].x, 125);
    EXPECT_EQ(monsters[0].y, 170);
    EXPECT_EQ(player_hp, hp - 64);

    // A step that a wall blocks as well still hurts.
    player_hp = hp;
    terrain_tile(8, 11, 30); // columns 128..143, rows 176..191
    place(0, 2, 128, 157);   // rows 157..176: the body is one row ahead
    move_monster(DIR_DOWN, 4, 0);
    EXPECT_EQ(monsters[0].y, 157);
    EXPECT_EQ(player_hp, hp - 16);
}

TEST(MonstersCollide, BodiesStopShortThenCloseTheGap) {
    open_world();
    player_x = 0;
    player_y = 200;
    place(0, 2, 60, 80);   // columns 60..89
    place(1, 2, 100, 80);  // 10 pixels to its right
    const int expected[] = {96, 93, 91, 90, 90};
    for (int x : expected) {
        move_monster(DIR_LEFT, 4, 1);
        EXPECT_EQ(monsters[1].x, x);
    }
    EXPECT_EQ(monsters[0].x, 60);

    // The same moving up: rows 40..59, and one 10 rows below it.
    place(0, 2, 60, 40);
    place(1, 2, 60, 70);
    const int expected_y[] = {66, 63, 61, 60, 60};
    for (int y : expected_y) {
        move_monster(DIR_UP, 4, 1);
        EXPECT_EQ(monsters[1].y, y);
    }
}

TEST(MonstersCollide, OverlappingMonstersHoldEachOtherUntilOneDies) {
    open_world();
    room_left = 60, room_right = 90, room_top = 145, room_bottom = 170;
    putpixel(monster_layer, 70, 155, 3); // neighbours: 14 columns and 20 rows in common
    putpixel(monster_layer, 71, 155, 3);
    spawn_monsters();
    ASSERT_EQ(monster_count, 2);
    const int x0 = monsters[0].x, y0 = monsters[0].y, x1 = monsters[1].x, y1 = monsters[1].y;
    for (int f = 0; f < 5; f++)
        update_monsters();
    const int dirs[] = {DIR_LEFT, DIR_RIGHT, DIR_UP, DIR_DOWN};
    for (int dir : dirs) {
        move_monster(dir, 4, 0);
        move_monster(dir, 4, 1);
    }
    EXPECT_EQ(monsters[0].x, x0);
    EXPECT_EQ(monsters[0].y, y0);
    EXPECT_EQ(monsters[1].x, x1);
    EXPECT_EQ(monsters[1].y, y1);

    // Diagonal neighbours share only 4 rows: across the rows they hold each
    // other, but moving apart the probe leaves the overlap on the 4th step.
    place(0, 3, 64, 64);
    place(1, 3, 80, 80);
    move_monster(DIR_RIGHT, 4, 1);
    move_monster(DIR_LEFT, 4, 0);
    EXPECT_EQ(monsters[1].x, 80);
    EXPECT_EQ(monsters[0].x, 64);
    move_monster(DIR_DOWN, 4, 1);
    EXPECT_EQ(monsters[1].y, 81);

    // Patrollers that overlap turn every frame without moving.
    place(0, 14, 50, 50);
    place(1, 14, 60, 60);
    update_monsters();
    EXPECT_EQ(monsters[0].patrol_h, -1);
    EXPECT_EQ(monsters[1].patrol_h, -1);
    update_monsters();
    EXPECT_EQ(monsters[0].patrol_h, 1);
    EXPECT_EQ(monsters[0].x, 50);
    EXPECT_EQ(monsters[1].x, 60);

    // Once one dies, the other walks through where it lay; the dead one stays put.
    monsters[0].status = 2;
    update_monsters();
    EXPECT_EQ(monsters[0].x, 50);
    EXPECT_EQ(monsters[1].x, 56);
}

TEST(MonstersUpdate, LaterMonstersSeeWhereEarlierOnesMovedThisFrame) {
    open_world();
    player_x = 0;
    player_y = 74; // target (12, 90): chasers at y = 80 need no vertical move
    place(0, 2, 100, 80);  // columns 100..129
    place(1, 2, 131, 80);  // one pixel behind it
    update_monsters();
    EXPECT_EQ(monsters[0].x, 96);
    EXPECT_EQ(monsters[1].x, 128); // it followed into the room monster 0 left
    EXPECT_EQ(monsters[0].y, 80);
}

TEST(MonstersUpdate, NoStepsDeadRecordsAndUnknownKindsDoNothing) {
    open_world();
    terrain_tile(5, 5, 30);
    place(0, 14, 96, 80);    // flush against the wall, facing it
    place(1, 2, 125, 170);   // on the player's body
    const int hp = player_hp;
    for (int steps : {0, -3}) {
        move_monster(DIR_LEFT, steps, 0);
        move_monster(DIR_RIGHT, steps, 1);
    }
    EXPECT_EQ(monsters[0].x, 96);
    EXPECT_EQ(monsters[0].patrol_h, 1);
    EXPECT_EQ(monsters[1].x, 125);
    EXPECT_EQ(player_hp, hp);

    // Dead records and kinds above 14 stand still; the dead one hurts no one.
    monsters[1].status = 2;
    place(2, 15, 20, 20);
    update_monsters();
    EXPECT_EQ(monsters[1].x, 125);
    EXPECT_EQ(monsters[1].y, 170);
    EXPECT_EQ(monsters[2].x, 20);
    EXPECT_EQ(monsters[2].y, 20);
    EXPECT_EQ(player_hp, hp);
}
