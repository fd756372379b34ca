// test_weapons.cpp -- shots, the bomb's fuse and blast, and the gate switch
#include <cstdlib>
#include <vector>
#include <gtest/gtest.h>
#include "test_support.h"
#include "assets.h"
#include "map.h"
#include "monsters.h"
#include "player.h"
#include "shell.h"
#include "view.h"
#include "weapons.h"

// Open floor round the start view (66, 151), in a room [40, 120] x [140, 180]
// wide enough to scroll. The cleared back buffer reads as open floor to the player.
static void open_world() {
    make_world(160, 200, CODE_FLOOR);
    make_room(40, 140, 120, 180, CODE_FLOOR);
    find_room_bounds(view_tx + 8, view_ty + 8);
}

// Flies a shot from (x, y) in slot 0 for one frame.
static void shoot(int x, int y, int dir) {
    shots[0] = Shot{x, y, dir, SHOT_FLYING};
    update_shots();
}

// Makes monster slot i alive with the box and hit points a spawn gives that kind.
static void place_monster(int i, int kind, int x, int y) {
    bool giant = kind == 1;
    monsters[i] = Monster{1, x, y, 0, 0, giant ? 82 : 30, giant ? 130 : 20, kind, giant ? 500 : 40};
    monster_count = MAX_MONSTERS; // the dead slots between are passed over
}

// A lit bomb at (x, y) goes off now.
static void blast_at(int x, int y) {
    bomb_state = BOMB_LIT;
    bomb_timer = 1;
    bomb_x = x;
    bomb_y = y;
    update_bomb();
}

TEST(WeaponsShots, HeldAltFiresFromTheMuzzleBeforeTheMoveOnceAFrameWhileASlotIsFree) {
    open_world();
    key[KEY_ALT] = 1;
    struct Case { int dir, arrow, x, y, x1, y1; }; // start, then after one frame
    const Case cases[] = {{DIR_RIGHT, KEY_RIGHT, 102, 110, 118, 110}, {DIR_DOWN, KEY_DOWN, 99, 103, 99, 119},
                          {DIR_LEFT, KEY_LEFT, 106, 110, 90, 110}, {DIR_UP, KEY_UP, 108, 113, 108, 97}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.dir);
        player_x = player_y = 100;
        player_dir = c.dir;
        key[c.arrow] = 1; // the player walks on, the shot leaves from where he stood
        frame_input();
        key[c.arrow] = 0;
        EXPECT_EQ(shots[0].x, c.x);
        EXPECT_EQ(shots[0].y, c.y);
        update_shots();
        EXPECT_EQ(shots[0].x, c.x1);
        EXPECT_EQ(shots[0].y, c.y1);
        frame_input();
        EXPECT_EQ(shots[1].state, SHOT_FLYING);
        EXPECT_EQ(shots[2].state, SHOT_FREE);
        clear_shots();
    }
    // A full table fires nothing; once a slot frees, the next shot takes it.
    for (Shot &s : shots)
        s = Shot{0, 7, DIR_DOWN, SHOT_FLYING};
    fire_shot();
    EXPECT_EQ(shots[0].x, 0);
    shots[617].state = SHOT_FREE;
    fire_shot();
    EXPECT_EQ(shots[617].state, SHOT_FLYING);
}

TEST(WeaponsShots, ShotAt240StillFliesAnd241IsFreedUnlessItLeavesOntoAWall) {
    open_world();
    shots[0] = Shot{224, 100, DIR_RIGHT, SHOT_FLYING};
    shots[1] = Shot{0, 16, DIR_UP, SHOT_FLYING};
    update_shots();
    // Flying at x = 240 but not drawn; at (0, 0) drawn.
    draw_shots();
    EXPECT_NE(getpixel(back_buffer, 245, 105), SHOT_COLOUR);
    EXPECT_EQ(getpixel(back_buffer, 5, 5), SHOT_COLOUR);
    // One more pixel leaves the field: over open floor the slot is free at once.
    update_shots();
    EXPECT_EQ(shots[0].x, 241);
    EXPECT_EQ(shots[1].y, -1);
    EXPECT_EQ(shots[0].state, SHOT_FREE);
    EXPECT_EQ(shots[1].state, SHOT_FREE);
    // Leaving onto code 51 still ends as an impact, unseen, free after drawing.
    putpixel(terrain_layer, view_tx + 15, view_ty + 6, 51); // under (249, 109)
    shoot(240, 100, DIR_RIGHT);
    EXPECT_EQ(shots[0].state, SHOT_IMPACT);
    draw_shots();
    EXPECT_EQ(shots[0].state, SHOT_FREE);
    EXPECT_NE(getpixel(back_buffer, 245, 105), EXPLOSION_COLOUR_BASE);
}

TEST(WeaponsShots, MonsterEdgesAreStrict) {
    open_world();
    // Box 120..149 x 100..119. Each shot ends its first frame on an edge
    // (no hit) and hits one pixel further in.
    struct Case { int x, y, dir; };
    const Case cases[] = {{104, 101, DIR_RIGHT}, {130, 84, DIR_DOWN}, {166, 110, DIR_LEFT}, {130, 136, DIR_UP}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.dir);
        place_monster(0, 2, 120, 100);
        shoot(c.x, c.y, c.dir);
        EXPECT_EQ(shots[0].state, SHOT_FLYING);
        update_shots();
        EXPECT_EQ(shots[0].state, SHOT_IMPACT);
    }
}

// Shoots a monster of `kind` in slot 3 at (120, 100) until it dies; how many hits it took (0: never).
static int hits_until_dead(int kind) {
    place_monster(3, kind, 120, 100);
    for (int hit = 1; hit <= 200; hit++) {
        shoot(110, 110, DIR_RIGHT);
        if (monsters[3].status == MONSTER_DEAD)
            return hit;
    }
    return 0;
}

TEST(WeaponsShots, ShotsPassPatrollersAndTheDeadAndHurtOnlyTheFirstChaserInTheirWay) {
    open_world();
    place_monster(0, 13, 120, 100);
    place_monster(1, 14, 120, 100);
    place_monster(2, 5, 120, 100);
    monsters[2].status = MONSTER_DEAD;
    place_monster(3, 2, 120, 100);
    place_monster(4, 6, 120, 100); // overlapped by slot 3: only the first is hurt
    shoot(110, 110, DIR_RIGHT);
    EXPECT_EQ(monsters[3].hp, 36);
    EXPECT_EQ(monsters[4].hp, 40);
    EXPECT_EQ(monsters[0].status + monsters[1].status, 2 * MONSTER_ALIVE);
    monster_count = 3; // slot 3 now lies past the count, as a record left from another room
    shoot(110, 110, DIR_RIGHT);
    EXPECT_EQ(monsters[3].hp, 36);
    // Only kinds 13 and 14 let shots through: a record holding a value
    // with no kind (never spawned) is hit.
    for (int kind : {0, 15}) {
        open_world();
        place_monster(0, kind, 120, 100);
        shoot(110, 110, DIR_RIGHT);
        EXPECT_EQ(monsters[0].hp, 36) << "kind " << kind;
    }
}

TEST(WeaponsShots, ChasersDieAtTheTenthHitAndTheGiantAtThe125th) {
    open_world();
    for (int kind : {2, 7, 12, 1})
        EXPECT_EQ(hits_until_dead(kind), kind == 1 ? 125 : 10) << "kind " << kind;
}

// A bomb dropped at (100, 100) after one frame's move to the right, with two carried.
static void drop_after_a_move() {
    open_world();
    player_x = player_y = 100;
    bombs = 2;
    key[KEY_SPACE] = key[KEY_RIGHT] = 1;
    frame_input();
}

TEST(WeaponsBomb, SpaceDropsOneBombAtTheFeetAfterTheFramesMoveAndNoneWithoutBombs) {
    open_world();
    key[KEY_SPACE] = 1;
    frame_input();
    EXPECT_EQ(bomb_state, BOMB_IDLE);
    drop_after_a_move();
    EXPECT_EQ(bomb_state, BOMB_LIT);
    EXPECT_EQ(bomb_x, player_x + 4);
    EXPECT_EQ(bomb_y, player_y + 16);
    frame_input(); // held while it burns: no second bomb
    EXPECT_EQ(bombs, 1);
}

TEST(WeaponsBomb, BombBurnsTwentyFiveFramesThenBlasts) {
    drop_after_a_move();
    // Frame by frame: bomb, three explosions with the sound at the first, blast.
    int cx = view_tx + ((bomb_x + 8) >> 4), cy = view_ty + ((bomb_y + 8) >> 4);
    putpixel(terrain_layer, cx, cy, CODE_CRACKED);
    for (int frame = 1; frame <= 26; frame++) {
        SCOPED_TRACE(frame);
        clear_bitmap(back_buffer);
        update_bomb();
        int want = frame == 26 ? 0 : BOMB_COLOUR;
        if (frame >= 22 && frame <= 24)
            want = EXPLOSION_COLOUR_BASE + frame - 22;
        EXPECT_EQ(getpixel(back_buffer, bomb_x + 8, bomb_y + 8), want);
        EXPECT_EQ(samples_played(EXPLOSION_SOUND), frame >= 22 ? 1 : 0);
        EXPECT_EQ(terrain_at(cx, cy), frame < 25 ? CODE_CRACKED : CODE_BLASTED);
    }
}

TEST(WeaponsBomb, LeavingTheRoomPutsABurningBombOut) {
    drop_after_a_move();
    int cx = view_tx + ((bomb_x + 8) >> 4), cy = view_ty + ((bomb_y + 8) >> 4);
    putpixel(terrain_layer, cx, cy, CODE_CRACKED);
    room_change_step(DIR_RIGHT);
    EXPECT_EQ((std::vector<int>{bomb_x, bomb_y, bomb_state, bomb_timer}), (std::vector<int>{0, 0, BOMB_IDLE, 0}));
    for (int frame = 0; frame < 30; frame++)
        update_bomb();
    EXPECT_EQ(samples_played(EXPLOSION_SOUND), 0);
    EXPECT_EQ(terrain_at(cx, cy), CODE_CRACKED);
    EXPECT_EQ(bombs, 1) << "not given back";
}

TEST(WeaponsBomb, BlastOpensOnlyCrackedWallsInTheThreeByThree) {
    open_world();
    int cx = view_tx + 6, cy = view_ty + 5;
    // A 5x5 block of cracked wall, with the codes either side of it inside the 3x3.
    rectfill(terrain_layer, cx - 2, cy - 2, cx + 2, cy + 2, CODE_CRACKED);
    putpixel(terrain_layer, cx - 1, cy, 10);
    putpixel(terrain_layer, cx + 1, cy + 1, 12);
    // The bomb's centre (+8, +8) on the first column and last row of tile (cx, cy).
    blast_at(tile_px(cx) - 8, tile_py(cy) + 7);
    for (int dx = -2; dx <= 2; dx++)
        for (int dy = -2; dy <= 2; dy++) {
            int want = abs(dx) <= 1 && abs(dy) <= 1 ? CODE_BLASTED : CODE_CRACKED;
            if ((dx == -1 && dy == 0) || (dx == 1 && dy == 1))
                want = dx == -1 ? 10 : 12;
            EXPECT_EQ(terrain_at(cx + dx, cy + dy), want) << "tile " << dx << "," << dy;
        }
    // Centre (-1, 16): the arithmetic shift takes the tile left of the view.
    putpixel(terrain_layer, view_tx - 2, view_ty + 2, CODE_CRACKED);
    blast_at(-9, 8);
    EXPECT_EQ(terrain_at(view_tx - 2, view_ty + 2), CODE_BLASTED);
}

TEST(WeaponsBomb, BombDroppedWhileScrollingBlastsWhereItWasDropped) {
    open_world();
    player_x = 148;
    player_y = 100;
    bombs = 1;
    drop_bomb();
    int drop_tx = view_tx + ((bomb_x + 8) >> 4), drop_ty = view_ty + ((bomb_y + 8) >> 4);
    // Cracked walls at a corner of the block round the tile it was dropped on,
    // and round the tile under its first screen position after 25 frames at 3 px.
    putpixel(terrain_layer, drop_tx + 1, drop_ty + 1, CODE_CRACKED);
    putpixel(terrain_layer, drop_tx + 75 / 16, drop_ty + 1, CODE_CRACKED);
    for (int frame = 1; frame <= BOMB_FUSE; frame++) {
        player_x = 148 + 3; // walking right past the scroll edge
        draw_view(0);
        update_bomb();
    }
    EXPECT_EQ(terrain_at(drop_tx + 1, drop_ty + 1), CODE_BLASTED);
    EXPECT_EQ(terrain_at(drop_tx + 75 / 16, drop_ty + 1), CODE_CRACKED);
}

TEST(WeaponsGates, ShotsCross52AndTheSwitchTheyStopOnTogglesEachGateOfTheRoomOnce) {
    open_world();
    putpixel(terrain_layer, view_tx + 8, view_ty + 6, CODE_WALKABLE); // px 128..143
    putpixel(terrain_layer, view_tx + 10, view_ty + 6, CODE_SWITCH);  // px 160..175
    // Gates of both states, on the floor and on the boundary lines of the room
    // [40, 120] x [140, 180]; then a gate outside, and a code next to the gates.
    struct Tile { int x, y, code, toggled; };
    const Tile tiles[] = {{45, 150, 26, 56}, {40, 160, 26, 56}, {120, 170, 57, 27}, {70, 140, 27, 57},
                          {70, 180, 56, 26}, {130, 150, 26, 26}, {46, 150, 28, 28}};
    for (const Tile &t : tiles)
        putpixel(terrain_layer, t.x, t.y, t.code);
    for (int hit = 1; hit <= 2; hit++) { // the second hit restores every gate
        SCOPED_TRACE(hit);
        // The centre (x + 8, y + 8) runs along the last row of tile row 6.
        shoot(120, 103, DIR_RIGHT); // over all of the 52
        update_shots(); // and stopping where it first enters the switch, seen there
        clear_bitmap(back_buffer);
        draw_shots();
        EXPECT_EQ(getpixel(back_buffer, 152, 103), EXPLOSION_COLOUR_BASE);
        for (const Tile &t : tiles)
            EXPECT_EQ(terrain_at(t.x, t.y), hit == 1 ? t.toggled : t.code) << t.x << "," << t.y;
    }
}
