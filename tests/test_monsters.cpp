// test_monsters.cpp -- spawning, drawing, chasing, patrolling and monster collision
#include "test_support.h"
#include "assets.h"
#include "map.h"
#include "monsters.h"
#include "player.h"
#include "view.h"
#include <gtest/gtest.h>
#include <string>

// An open floor round the start view (66, 151). The player stands at (120, 160):
// body columns 120..143, rows 176..191, chase target (132, 176).
static void open_world() { make_world(120, 200, CODE_FLOOR); }

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
    room_left = 66, room_right = 80, room_top = 151, room_bottom = 165; // the start room
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
    monsters[60] = Monster{1, 5, 5, 1, 1, 30, 20, 2, 40}; // left over from an earlier room
    spawn_monsters();
    ASSERT_EQ(monster_count, 5);
    for (int i = 0; i < 5; i++) {
        Monster w = want[i];
        w.x = tile_px(w.x), w.y = tile_py(w.y);
        EXPECT_EQ(fields(monsters[i]), fields(w));
    }
    for (int i = 5; i < MAX_MONSTERS; i++)
        EXPECT_EQ(fields(monsters[i]), fields({2, 0, 0, 0, 0, 0, 0, 0, 0})) << i;
}

TEST(MonstersSpawn, StopsAtAHundredInScanOrder) {
    open_world();
    room_left = 59, room_right = 72, room_top = 149, room_bottom = 162;
    rectfill(monster_layer, 60, 150, 71, 161, 2); // 144 markers
    spawn_monsters();
    EXPECT_EQ(monster_count, 100);
    // 100 = 8 full columns of 12, then 4 of the ninth column.
    EXPECT_EQ(pos(99), std::to_string(tile_px(68)) + "," + std::to_string(tile_py(153)));
}

TEST(MonstersDraw, OnlyLiveCountedMonstersInsideTheWindowAreDrawn) {
    open_world();
    // A canvas larger than the window, so that the large chaser's 82 x 130 art
    // leaves a mark at (max(x, 0), max(y, 0)) whenever it is drawn.
    static BITMAP *canvas = create_bitmap(400, 400);
    BITMAP *saved_back = back_buffer;
    back_buffer = canvas;
    struct Case { int x, y, status, count; bool drawn; };
    const Case cases[] = {{-80, 50, 1, 1, false}, {-79, 50, 1, 1, true}, {50, -130, 1, 1, false},
                          {50, -129, 1, 1, true}, {240, 50, 1, 1, false}, {239, 50, 1, 1, true},
                          {50, 240, 1, 1, false}, {50, 239, 1, 1, true},  {50, 50, 2, 1, false},
                          {50, 50, 1, 0, false}}; // dead, and beyond the table's fill
    for (const Case &c : cases) {
        clear_bitmap(canvas);
        place(0, 1, c.x, c.y);
        monsters[0].status = c.status, monster_count = c.count;
        draw_monsters();
        const bool drawn = getpixel(canvas, c.x > 0 ? c.x : 0, c.y > 0 ? c.y : 0) == MONSTER_COLOUR_BASE + 1;
        EXPECT_EQ(drawn, c.drawn) << c.x << "," << c.y << " status " << c.status << " count " << c.count;
    }
    // Each kind has its own art, and later records cover earlier ones.
    place(1, 3, 60, 60);
    draw_monsters();
    EXPECT_EQ(getpixel(canvas, 60, 60), MONSTER_COLOUR_BASE + 3);
    back_buffer = saved_back;
}

TEST(MonstersChase, ClosesASmallGapExactlyAndMovesHorizontallyFirst) {
    open_world();
    // Centre offsets from the target, and the move. The large chaser's centre is (x + 41, y + 65).
    struct Case { int kind, off_x, off_y, dx, dy; };
    const Case cases[] = {{2, 2, -40, -2, 4}, {2, -10, -20, 4, 4}, {1, 3, 200, -3, -4}, {2, 0, 0, 0, 0}};
    for (const Case &c : cases) {
        const int x = 132 + c.off_x - (c.kind == 1 ? 41 : 15);
        const int y = 176 + c.off_y - (c.kind == 1 ? 65 : 10);
        place(0, c.kind, x, y);
        update_monsters();
        EXPECT_EQ(pos(0), std::to_string(x + c.dx) + "," + std::to_string(y + c.dy)) << c.off_x << "," << c.off_y;
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
    terrain_tile(2, 2, 30); // pixels 32..47 on both axes
    place(0, 14, 98, 80);   // two pixels right of the first, heading left
    place(1, 13, 32, 50);   // two pixels below the second, heading up
    update_monsters();
    EXPECT_EQ(pos(0) + " " + pos(1), "96,80 32,48");
    EXPECT_EQ(monsters[0].patrol_h, -1);
    EXPECT_EQ(monsters[1].patrol_v, -1);
    update_monsters();
    EXPECT_EQ(pos(0) + " " + pos(1), "100,80 32,52");
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
    // Patrollers 2 pixels right of and 1 left of the body: a free step, three that hurt, a turn.
    place(0, 14, 146, 176);
    place(1, 14, 89, 176);
    monsters[1].patrol_h = -1;
    update_monsters();
    EXPECT_EQ(pos(0) + " " + pos(1), "145,176 90,176");
    EXPECT_EQ(monsters[0].patrol_h, -1);
    EXPECT_EQ(monsters[1].patrol_h, 1);
    EXPECT_EQ(player_hp, hp - 24);
    // Overlapping the body, every step hurts in every direction; a box just above it passes by;
    // a step that a wall (columns 128..143, rows 176..191) blocks as well still hurts.
    struct Step { int x, y, dir, wall; const char *after; int loss; };
    const Step steps[] = {{125, 170, DIR_LEFT, 0, "125,170", 16}, {125, 170, DIR_RIGHT, 0, "125,170", 16},
                          {125, 170, DIR_UP, 0, "125,170", 16},   {125, 170, DIR_DOWN, 0, "125,170", 16},
                          {125, 156, DIR_LEFT, 0, "121,156", 0},  {128, 157, DIR_DOWN, 1, "128,157", 16}};
    for (const Step &c : steps) {
        open_world();
        terrain_tile(8, 11, c.wall ? 30 : CODE_FLOOR);
        place(0, 2, c.x, c.y);
        move_monster(c.dir, 4, 0);
        EXPECT_EQ(pos(0), c.after) << c.dir;
        EXPECT_EQ(player_hp, hp - c.loss) << c.dir;
    }
}

TEST(MonstersCollide, BodiesStopShortThenCloseTheGap) {
    open_world();
    player_x = 0, player_y = 200;
    // Monster 1 starts 10 pixels right of monster 0, monster 2 ten rows below it.
    place(0, 2, 60, 80);
    place(1, 2, 100, 80);
    place(2, 2, 60, 110);
    for (const char *want : {"96,80 60,106", "93,80 60,103", "91,80 60,101", "90,80 60,100", "90,80 60,100"}) {
        move_monster(DIR_LEFT, 4, 1);
        move_monster(DIR_UP, 4, 2);
        EXPECT_EQ(pos(1) + " " + pos(2), want);
    }
    EXPECT_EQ(pos(0), "60,80");
    // Later monsters see where earlier ones moved this frame.
    open_world();
    player_x = 0, player_y = 74; // target (12, 90): chasers at y = 80 need no vertical move
    place(0, 2, 100, 80); // columns 100..129
    place(1, 2, 131, 80); // one pixel behind it
    update_monsters();
    EXPECT_EQ(pos(0) + " " + pos(1), "96,80 128,80"); // it followed into the room monster 0 left
}

TEST(MonstersCollide, OverlappingMonstersHoldEachOtherUntilOneDies) {
    open_world();
    place(0, 3, 64, 64); // 14 columns in common
    place(1, 3, 80, 64);
    for (int dir : {DIR_LEFT, DIR_RIGHT, DIR_UP, DIR_DOWN}) {
        move_monster(dir, 4, 0);
        move_monster(dir, 4, 1);
        EXPECT_EQ(pos(0) + " " + pos(1), "64,64 80,64") << dir;
    }
    // Once one dies, the other walks through where it lay.
    monsters[0].status = 2;
    move_monster(DIR_LEFT, 4, 1);
    EXPECT_EQ(pos(1), "76,64");
}

TEST(MonstersUpdate, NoStepsDeadRecordsAndKindsAbove14DoNothingAndKind0Chases) {
    open_world();
    terrain_tile(5, 5, 30);
    place(0, 14, 96, 80);  // flush against the wall, facing it
    place(1, 2, 125, 170); // on the player's body
    const int hp = player_hp;
    for (int steps : {0, -3}) {
        move_monster(DIR_LEFT, steps, 0);
        move_monster(DIR_RIGHT, steps, 1);
        EXPECT_EQ(pos(0) + " " + pos(1), "96,80 125,170") << steps;
        EXPECT_EQ(monsters[0].patrol_h, 1) << steps; // no step, so no turn
    }
    // Dead records and kinds above 14 stand still; the dead one hurts no one.
    // A record holding kind 0 (never spawned) chases, as every kind below 13.
    monsters[1].status = 2;
    place(2, 15, 20, 20);
    place(3, 0, 20, 60);
    update_monsters();
    EXPECT_EQ(pos(1) + " " + pos(2) + " " + pos(3), "125,170 20,20 24,64");
    EXPECT_EQ(player_hp, hp);
}
