// test_monsters.cpp -- spawning, drawing, chasing, patrolling and monster collision
#include "test_support.h"
#include "assets.h"
#include "layers.h"
#include "monsters.h"
#include "player.h"
#include "view.h"
#include <gtest/gtest.h>
#include <string>

// An open floor round the start view (66, 151), with room bounds. The player stands at
// (120, 160): body columns 120..143, rows 176..191, chase target (132, 176).
static void open_world() {
    make_world(120, 200, CODE_FLOOR);
    room_left = 60, room_right = 90, room_top = 145, room_bottom = 170;
}

// Puts a live monster of `kind` into slot i at (x, y), as a spawn would, and counts it in.
static void place(int i, int kind, int x, int y) {
    monsters[i] = Monster{1, x, y, kind == 14, kind == 13, 30, 20, kind, 40};
    if (kind == 1)
        monsters[i].width = 82, monsters[i].height = 130;
    if (monster_count < i + 1)
        monster_count = i + 1;
}

// All nine fields of a record, so that one comparison shows every difference.
static std::string fields(const Monster &m) {
    std::string s;
    for (int v : {m.status, m.x, m.y, m.patrol_h, m.patrol_v, m.width, m.height, m.kind, m.hp})
        s += std::to_string(v) + " ";
    return s;
}

// Where monster i stands, as "x,y".
static std::string pos(int i) {
    return std::to_string(monsters[i].x) + "," + std::to_string(monsters[i].y);
}

// Sets the tile under play-field pixels cx * 16 .. cx * 16 + 15 and likewise for y.
static void terrain_tile(int cx, int cy, int code) {
    putpixel(terrain_layer, view_tx + cx, view_ty + cy, code);
}

TEST(MonstersSpawn, ScansColumnsFromLeftBorderThenRowsDownWithEachKindsValues) {
    open_world();
    make_room(66, 151, 80, 165, CODE_FLOOR);
    find_room_bounds(74, 159);
    scroll_px = 5, scroll_py = -3;
    // In spawn order: the first on the left border column, the last on the top border row.
    const Monster want[] = {{1, 66, 158, 0, 0, 82, 130, 1, 500}, {1, 68, 152, 0, 1, 30, 20, 13, 0},
                            {1, 68, 160, 1, 0, 30, 20, 14, 0},   {1, 70, 155, 0, 0, 30, 20, 12, 40},
                            {1, 72, 151, 0, 0, 30, 20, 2, 40}};
    for (const Monster &w : want)
        putpixel(monster_layer, w.x, w.y, w.kind);
    putpixel(monster_layer, 80, 155, 7);  // right border column: the next room's
    putpixel(monster_layer, 70, 165, 8);  // bottom border row: the next room's
    putpixel(monster_layer, 74, 156, 15); // no art: left out
    putpixel(monster_layer, 75, 153, 255);
    monsters[60] = Monster{1, 5, 5, 1, 1, 30, 20, 2, 40}; // left over from an earlier room
    for (int visit = 0; visit < 2; visit++) {
        spawn_monsters();
        ASSERT_EQ(monster_count, 5);
        EXPECT_EQ(pos(0), "-5,115"); // tile (view_tx, view_ty + 7), less the offsets
        for (int i = 0; i < 5; i++) {
            Monster w = want[i];
            w.x = tile_px(w.x), w.y = tile_py(w.y);
            EXPECT_EQ(fields(monsters[i]), fields(w));
        }
        for (int i = 5; i < MAX_MONSTERS; i++)
            EXPECT_EQ(fields(monsters[i]), fields({2, 0, 0, 0, 0, 0, 0, 0, 0})) << i;
        // Killed and wounded monsters are back at full strength on the next visit.
        monsters[0].status = 2, monsters[3].hp = 4, monsters[4].x += 50;
    }
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
}

TEST(MonstersDraw, OnlyLiveCountedMonstersInsideTheWindowAreDrawn) {
    open_world();
    // A canvas and kind-2 art larger than any window edge, so that every
    // sprite that is drawn leaves a mark at (max(x, 0), max(y, 0)).
    static BITMAP *canvas = create_bitmap(400, 400), *big = create_bitmap(300, 300);
    clear_to_color(big, 77);
    BITMAP *saved_back = back_buffer;
    void *saved_art = monster_data[1].dat;
    back_buffer = canvas, monster_data[1].dat = big;
    struct Case { int x, y, status, count; bool drawn; };
    const Case cases[] = {{-80, 50, 1, 1, false}, {-79, 50, 1, 1, true}, {50, -130, 1, 1, false},
                          {50, -129, 1, 1, true}, {240, 50, 1, 1, false}, {239, 50, 1, 1, true},
                          {50, 240, 1, 1, false}, {50, 239, 1, 1, true},  {50, 50, 2, 1, false},
                          {50, 50, 1, 0, false}}; // dead, and beyond the table's fill
    for (const Case &c : cases) {
        clear_bitmap(back_buffer);
        place(0, 2, c.x, c.y);
        monsters[0].status = c.status, monster_count = c.count;
        draw_monsters();
        const bool drawn = getpixel(back_buffer, c.x > 0 ? c.x : 0, c.y > 0 ? c.y : 0) == 77;
        EXPECT_EQ(drawn, c.drawn) << c.x << "," << c.y << " status " << c.status << " count " << c.count;
    }
    back_buffer = saved_back, monster_data[1].dat = saved_art;

    // With the real art: the kind's sprite at (x, y); later records cover earlier ones.
    place(0, 1, 10, 10);
    place(1, 3, 20, 20);
    draw_monsters();
    EXPECT_EQ(getpixel(back_buffer, 10, 10), MONSTER_COLOUR_BASE + 1);
    EXPECT_EQ(getpixel(back_buffer, 20, 20), MONSTER_COLOUR_BASE + 3);
}

TEST(MonstersChase, ClosesASmallGapExactlyAndMovesHorizontallyFirst) {
    open_world();
    const int hp = player_hp;
    // Centre offsets from the target, and the move. The large chaser's centre is (x + 41, y + 65).
    // On the target there is no move, so no harm to the body the chaser covers.
    struct Case { int kind, off_x, off_y, dx, dy; };
    const Case cases[] = {{2, 2, -40, -2, 4}, {2, -10, -20, 4, 4}, {1, 3, 200, -3, -4}, {2, 0, 0, 0, 0}};
    for (const Case &c : cases) {
        const int x = 132 + c.off_x - (c.kind == 1 ? 41 : 15);
        const int y = 176 + c.off_y - (c.kind == 1 ? 65 : 10);
        place(0, c.kind, x, y);
        update_monsters();
        EXPECT_EQ(monsters[0].x - x, c.dx) << c.off_x << "," << c.off_y;
        EXPECT_EQ(monsters[0].y - y, c.dy) << c.off_x << "," << c.off_y;
        EXPECT_EQ(player_hp, hp);
    }
    // A wall under the chaser's four leftmost columns stops it only if it goes down first.
    player_x = 105, player_y = 122; // target 10 right of and 20 below its centre
    terrain_tile(5, 8, 30);         // columns 80..95, rows 128..143
    place(0, 2, 92, 108);           // columns 92..121, rows 108..127
    update_monsters();
    EXPECT_EQ(pos(0), "96,112");
}

TEST(MonstersTerrain, Code52AndBelowStopFlushLeftOrUpAndOnePixelShortRightOrDown) {
    open_world();
    player_x = 200, player_y = 200;
    // Tile (5, 5) covers pixels 80..95; right and down leave column or row 79 free. The whole
    // leading edge counts: its last row or first column reaches the wall, or its last row misses it.
    struct Case { int code, dir, x, y, stop; };
    const Case cases[] = {{30, DIR_LEFT, 110, 78, 96}, {30, DIR_RIGHT, 40, 78, 49}, {30, DIR_UP, 75, 110, 96},
                          {30, DIR_DOWN, 75, 40, 59}, {30, DIR_LEFT, 110, 61, 96}, {30, DIR_UP, 95, 110, 96},
                          {30, DIR_LEFT, 110, 60, 70}, {52, DIR_LEFT, 100, 80, 96}, {0, DIR_LEFT, 100, 80, 96},
                          {53, DIR_LEFT, 100, 80, 68}, {74, DIR_LEFT, 100, 80, 68}}; // 74: a room exit
    for (const Case &c : cases) {
        terrain_tile(5, 5, c.code);
        place(0, 2, c.x, c.y);
        for (int frame = 0; frame < (c.code == 30 ? 10 : 8); frame++)
            move_monster(c.dir, 4, 0);
        const int at = c.dir == DIR_LEFT || c.dir == DIR_RIGHT ? monsters[0].x : monsters[0].y;
        EXPECT_EQ(at, c.stop) << "code " << c.code << " dir " << c.dir << " from " << c.x << "," << c.y;
    }
    view_tx = 0; // outside the layer reads as -1, which blocks
    place(0, 2, 6, 80);
    move_monster(DIR_LEFT, 12, 0);
    EXPECT_EQ(monsters[0].x, 0);
}

TEST(MonstersPatrol, ClosesATwoPixelGapThenTurns) {
    open_world();
    player_x = 200, player_y = 200;
    terrain_tile(5, 5, 30); // pixels 80..95 on both axes
    struct Case { int kind, x, y; int Monster::*pos, Monster::*sense; };
    const Case cases[] = {{14, 98, 80, &Monster::x, &Monster::patrol_h},
                          {13, 80, 98, &Monster::y, &Monster::patrol_v}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.kind);
        place(0, c.kind, c.x, c.y);
        update_monsters();
        EXPECT_EQ(monsters[0].*c.pos, 96);
        EXPECT_EQ(monsters[0].*c.sense, -1);
        update_monsters();
        EXPECT_EQ(monsters[0].*c.pos, 100);
    }
    // Only the last step decides the turn, and the probe runs on past blocked
    // steps: 24 steps come out beyond the wall without turning.
    place(0, 14, 100, 80);
    move_monster(DIR_LEFT, 24, 0);
    EXPECT_EQ(monsters[0].x, 92);
    EXPECT_EQ(monsters[0].patrol_h, 1);
}

TEST(MonstersPlayer, EveryStepIntoThePlayerCostsFourHitPoints) {
    open_world();
    const int hp = player_hp;
    // A patroller 2 pixels right of or 1 left of the body: a free step, three that hurt, a turn.
    struct Case { int x, sense, stop; };
    const Case cases[] = {{146, 1, 145}, {89, -1, 90}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.x);
        player_hp = hp;
        place(0, 14, c.x, 176);
        monsters[0].patrol_h = c.sense;
        update_monsters();
        EXPECT_EQ(monsters[0].x, c.stop);
        EXPECT_EQ(monsters[0].patrol_h, -c.sense);
        EXPECT_EQ(player_hp, hp - 12);
    }
    // Overlapping the body, every step hurts in every direction; a box just above it passes by.
    player_hp = hp;
    place(0, 2, 125, 170);
    for (int dir : {DIR_LEFT, DIR_RIGHT, DIR_UP, DIR_DOWN})
        move_monster(dir, 4, 0);
    EXPECT_EQ(pos(0), "125,170");
    EXPECT_EQ(player_hp, hp - 64);
    place(0, 2, 125, 156);
    move_monster(DIR_LEFT, 4, 0);
    EXPECT_EQ(monsters[0].x, 121);
    EXPECT_EQ(player_hp, hp - 64);
    // A step that a wall blocks as well still hurts.
    terrain_tile(8, 11, 30); // columns 128..143, rows 176..191
    place(0, 2, 128, 157);   // rows 157..176: the body is one row ahead
    move_monster(DIR_DOWN, 4, 0);
    EXPECT_EQ(monsters[0].y, 157);
    EXPECT_EQ(player_hp, hp - 80);
}

TEST(MonstersCollide, BodiesStopShortThenCloseTheGap) {
    open_world();
    player_x = 0, player_y = 200;
    // Monster 1 starts 10 pixels right of, or 10 rows below, monster 0.
    struct Case { int dir, x1, y1; int seq[5]; };
    const Case cases[] = {{DIR_LEFT, 100, 80, {96, 93, 91, 90, 90}},
                          {DIR_UP, 60, 110, {106, 103, 101, 100, 100}}};
    for (const Case &c : cases) {
        place(0, 2, 60, 80);
        place(1, 2, c.x1, c.y1);
        for (int want : c.seq) {
            move_monster(c.dir, 4, 1);
            EXPECT_EQ(c.dir == DIR_LEFT ? monsters[1].x : monsters[1].y, want) << c.dir;
        }
        EXPECT_EQ(pos(0), "60,80");
    }
    // Later monsters see where earlier ones moved this frame.
    player_y = 74;        // target (12, 90): chasers at y = 80 need no vertical move
    place(0, 2, 100, 80); // columns 100..129
    place(1, 2, 131, 80); // one pixel behind it
    update_monsters();
    EXPECT_EQ(pos(0), "96,80");
    EXPECT_EQ(pos(1), "128,80"); // it followed into the room monster 0 left
}

TEST(MonstersCollide, OverlappingMonstersHoldEachOtherUntilOneDies) {
    open_world();
    putpixel(monster_layer, 70, 155, 3); // at (64, 64) and (80, 64): 14 columns in common
    putpixel(monster_layer, 71, 155, 3);
    spawn_monsters();
    ASSERT_EQ(monster_count, 2);
    const std::string m0 = fields(monsters[0]), m1 = fields(monsters[1]);
    for (int frame = 0; frame < 5; frame++)
        update_monsters();
    for (int dir : {DIR_LEFT, DIR_RIGHT, DIR_UP, DIR_DOWN}) {
        move_monster(dir, 4, 0);
        move_monster(dir, 4, 1);
    }
    EXPECT_EQ(fields(monsters[0]), m0);
    EXPECT_EQ(fields(monsters[1]), m1);
    // Once one dies, the other walks through where it lay.
    monsters[0].status = 2;
    move_monster(DIR_LEFT, 4, 1);
    EXPECT_EQ(pos(1), "76,64");
}

TEST(MonstersUpdate, NoStepsDeadRecordsAndUnknownKindsDoNothing) {
    open_world();
    terrain_tile(5, 5, 30);
    place(0, 14, 96, 80);  // flush against the wall, facing it
    place(1, 2, 125, 170); // on the player's body
    const int hp = player_hp;
    for (int steps : {0, -3}) {
        move_monster(DIR_LEFT, steps, 0);
        move_monster(DIR_RIGHT, steps, 1);
    }
    EXPECT_EQ(fields(monsters[0]), fields({1, 96, 80, 1, 0, 30, 20, 14, 40}));
    EXPECT_EQ(monsters[1].x, 125);
    // Dead records and kinds above 14 stand still; the dead one hurts no one.
    monsters[1].status = 2;
    place(2, 15, 20, 20);
    update_monsters();
    EXPECT_EQ(pos(1) + " " + pos(2), "125,170 20,20");
    EXPECT_EQ(player_hp, hp);
}
